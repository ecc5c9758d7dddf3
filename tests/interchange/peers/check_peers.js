// Reads an export with two independent ADIF readers and checks that both give every record
// with the expected call, date, times, frequency, mode, reports and QSL flags.
//   node check_peers.js EXPORT.ADI EXPECTED.JSON
'use strict';
const fs = require('fs');
const { AdifParser } = require('adif-parser-ts');
const { ADIF } = require('tcadif');

const [exportPath, expectedPath] = process.argv.slice(2);
const text = fs.readFileSync(exportPath, 'latin1');
const expected = JSON.parse(fs.readFileSync(expectedPath, 'utf8'));
const fields = ['call', 'qso_date', 'time_on', 'time_off', 'freq', 'mode', 'rst_sent',
    'rst_rcvd', 'qsl_sent', 'qsl_rcvd'];
const faults = [];

function compare(reader, index, record) {
    for (const name of fields) {
        if (record[name] !== expected[index][name]) {
            faults.push(`${reader}: record ${index + 1} ${name} is ${JSON.stringify(record[name])}, ` +
                `expected ${JSON.stringify(expected[index][name])}`);
        }
    }
}

// The lenient reader takes the whole file.
const lenient = AdifParser.parseAdi(text).records;
if (lenient.length !== expected.length) {
    faults.push(`adif-parser-ts: ${lenient.length} records, expected ${expected.length}`);
}
lenient.slice(0, expected.length).forEach((record, i) => compare('adif-parser-ts', i, record));

// The strict reader refuses a whole file for one value outside the ADIF lists, so each record
// is given to it with the header. It may refuse only a mode the layout writes that ADIF does
// not list: an empty mode written as 0, or a stored three-letter mode such as RTY.
const header = text.slice(0, text.indexOf('<eoh>') + 5);
const bodies = text.slice(header.length).split('<eor>').slice(0, -1);
if (bodies.length !== expected.length) {
    faults.push(`tcadif: ${bodies.length} records, expected ${expected.length}`);
}
const refused = {};
bodies.forEach((body, i) => {
    let qso;
    try {
        qso = ADIF.parse(`${header}${body}<eor>\r\n`).toObject().qsos[0];
    } catch (error) {
        const mode = expected[i].mode;
        if (error.message === 'field enumeration check failed' && (mode === '0' || mode === 'RTY')) {
            refused[mode] = (refused[mode] || 0) + 1;
        } else {
            faults.push(`tcadif: record ${i + 1} refused: ${error.message}`);
        }
        return;
    }
    const record = {};
    for (const name of fields) {
        record[name] = qso[name.toUpperCase()];
    }
    compare('tcadif', i, record);
});

for (const fault of faults) {
    console.log(fault);
}
const accepted = bodies.length - Object.values(refused).reduce((a, b) => a + b, 0);
console.log(`adif-parser-ts read ${lenient.length} records; tcadif read ${accepted} and ` +
    `refused ${JSON.stringify(refused)} (modes ADIF does not list)`);
process.exit(faults.length === 0 ? 0 : 1);
