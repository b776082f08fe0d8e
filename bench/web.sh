#!/usr/bin/env bash
# The web rows of `make bench`: the web build's total size against its budget, its start-up in
# headless Chromium against a page that only paints a canvas (bench/web_startup.js), then its
# Lighthouse scores (bench/web_lighthouse.js).
#
#   bench/web.sh RUNS WARMUP TARGET_RATIO
#
# Prints only Markdown table rows; everything else goes to stderr. Targets are reported, never
# enforced: the script fails only when something cannot be built or run.
set -euo pipefail
cd "$(dirname "$0")/.."

budget_kb=150
echo "web.sh: building the web page" >&2
make --no-print-directory web >&2
# puppeteer-core from the tests' lock file; Lighthouse from the benchmark's own, so that make test
# never installs it. Each is installed again only when its lock file changes.
for dir in tests/web bench; do
    (cd "$dir" && { [ node_modules/.package-lock.json -nt package-lock.json ] ||
        npm ci --no-audit --no-fund >&2; })
done

# Everything the static server serves: build-web holds nothing else.
bytes=$(cat build-web/* | wc -c)
kb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1024 }')
if [ "$bytes" -le $((budget_kb * 1024)) ]; then verdict=met; else verdict="not met"; fi
echo "| web build size (every file of build-web, uncompressed) | $kb KiB ($bytes bytes) | target at most $budget_kb KB ($((budget_kb * 1024)) bytes): $verdict | | |"

# The page paints the fresh board the build drew before its module is ready: its own target. A
# page load is short and its time varies more than a program's start, so eight times the runs.
node bench/web_startup.js "$((${1:-10} * 8))" "${2:-2}" 1.2
node bench/web_lighthouse.js
