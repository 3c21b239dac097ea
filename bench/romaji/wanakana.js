// wanakana's toRomaji over the readings that kanaflow-romaji converts, as a
// whole process: node wanakana.js READINGS.utf8 (one reading per line). The
// module is found through NODE_PATH: run.sh installs it into the build
// folder at run time. Prints each reading's romaji, one per line, as kakasi
// does.
'use strict';
const fs = require('fs');
const { toRomaji } = require('wanakana');

const readings = fs.readFileSync(process.argv[2], 'utf8').split('\n');
const lines = [];
for (const reading of readings) {
  if (reading !== '') lines.push(toRomaji(reading));
}
process.stdout.write(lines.join('\n') + '\n');
