#!/usr/bin/env bash
# Runs the browser checks: installs playwright-core (pinned by package-lock.json) into the build
# folder, then drives Debian's chromium against pages made by tessaly-batch.
#   run.sh SOURCE_DIR BUILD_DIR BATCH PHOTO
set -euo pipefail
src="$1/tests/browser"
work="$2/browser"
mkdir -p "$work"
cp "$src/package.json" "$src/package-lock.json" "$work/"
cd "$work"
want=$(node -e 'console.log(require("./package-lock.json").packages["node_modules/playwright-core"].version)')
have=$(node -e 'try{console.log(require("./node_modules/playwright-core/package.json").version)}catch(e){}')
if [ "$want" != "$have" ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
node "$src/pages.test.mjs" --batch "$3" --photo "$4" --out "$work/screenshots"
