// Times adif-parser-ts on the same file: parsing it (what an import does) and formatting the
// parsed records back to ADIF (what an export does). Prints the medians in milliseconds.
//   NODE_PATH=... node adif_peer_speed.js FILE RUNS
'use strict';
const fs = require('fs');
const { AdifParser, AdifFormatter } = require('adif-parser-ts');

const [file, runsText] = process.argv.slice(2);
const runs = Math.max(1, parseInt(runsText || '5', 10));
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const parses = [];
const formats = [];
let parsed;
for (let run = 0; run < runs; run++) {
    const start = process.hrtime.bigint();
    parsed = AdifParser.parseAdi(fs.readFileSync(file, 'latin1'));
    parses.push(Number(process.hrtime.bigint() - start) / 1e6);
}
for (let run = 0; run < runs; run++) {
    const start = process.hrtime.bigint();
    fs.writeFileSync(`${file}.peer`, AdifFormatter.formatAdi(parsed), 'latin1');
    formats.push(Number(process.hrtime.bigint() - start) / 1e6);
}
fs.unlinkSync(`${file}.peer`);
console.log(`peer_records ${parsed.records.length}`);
console.log(`peer_parse_ms ${median(parses)}`);
console.log(`peer_format_ms ${median(formats)}`);
