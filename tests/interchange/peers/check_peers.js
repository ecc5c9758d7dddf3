// Reads an export with two independent ADIF readers and checks that both give every record
// with the expected call, date, times, frequency, mode, submode, reports and QSL flags; a
// field expected as null must be left out of the export.
//   node check_peers.js EXPORT.ADI EXPECTED.JSON
'use strict';
const fs = require('fs');
const { AdifParser } = require('adif-parser-ts');
const { ADIF } = require('tcadif');

const [exportPath, expectedPath] = process.argv.slice(2);
const text = fs.readFileSync(exportPath, 'latin1');
const expected = JSON.parse(fs.readFileSync(expectedPath, 'utf8'));
const fields = ['call', 'qso_date', 'time_on', 'time_off', 'freq', 'mode', 'submode',
    'rst_sent', 'rst_rcvd', 'qsl_sent', 'qsl_rcvd'];
const faults = [];

function compare(reader, records) {
    if (records.length !== expected.length) {
        faults.push(`${reader}: ${records.length} records, expected ${expected.length}`);
    }
    records.slice(0, expected.length).forEach((record, index) => {
        for (const name of fields) {
            if (record[name] !== (expected[index][name] ?? undefined)) {
                faults.push(`${reader}: record ${index + 1} ${name} is ` +
                    `${JSON.stringify(record[name])}, expected ${JSON.stringify(expected[index][name])}`);
            }
        }
    });
}

// The lenient reader takes the whole file.
const lenient = AdifParser.parseAdi(text).records;
compare('adif-parser-ts', lenient);

// The strict reader checks every value against ADIF's types and lists (MODE among them) and
// refuses the whole file for one it does not take, so the file is given to it whole.
let strict = [];
try {
    strict = ADIF.parse(text).toObject().qsos.map((qso) =>
        Object.fromEntries(fields.map((name) => [name, qso[name.toUpperCase()]])));
} catch (error) {
    faults.push(`tcadif refused the file: ${error.message} ` +
        `(${error.field}: ${JSON.stringify(error.value)})`);
}
compare('tcadif', strict);

for (const fault of faults.slice(0, 40)) {
    console.log(fault);
}
console.log(`${exportPath}: adif-parser-ts read ${lenient.length} records, tcadif ` +
    `${strict.length}, of ${expected.length}; ${faults.length} faults`);
process.exit(faults.length === 0 ? 0 : 1);
