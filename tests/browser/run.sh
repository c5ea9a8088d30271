#!/usr/bin/env bash
# Runs the browser checks: installs playwright-core and axe-core (pinned by package-lock.json)
# into the build folder, then drives Debian's chromium against pages made by tessaly-batch.
#   run.sh SOURCE_DIR BUILD_DIR BATCH PHOTO
set -euo pipefail
src="$1/tests/browser"
work="$2/browser"
mkdir -p "$work"
cp "$src/package.json" "$src/package-lock.json" "$work/"
cd "$work"
stale=$(node -e '
  const lock = require("./package-lock.json").packages;
  for (const [where, entry] of Object.entries(lock)) {
    if (!where) continue;
    let have;
    try { have = require("./" + where + "/package.json").version; } catch (e) {}
    if (have !== entry.version) { console.log(where); break; }
  }')
if [ -n "$stale" ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
status=0
node "$src/pages.test.mjs" --batch "$3" --photo "$4" --out "$work/screenshots" || status=1
node "$src/modern.test.mjs" --batch "$3" --photo "$4" --out "$work/screenshots" || status=1
exit $status
