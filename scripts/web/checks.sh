#!/usr/bin/env bash
# Checks the browser build in build-web/ (scripts/web/build.sh) against the
# Linux build: quibbix-replay.js under node prints byte for byte what the Linux
# quibbix-replay prints, with the same status; then the page in headless
# Chromium (tests/web/page_checks.mjs, with puppeteer-core from the committed
# package-lock.json). Argument: the Linux build folder (default build), which
# must hold quibbix-replay and quibbix-shot. Each step is bounded in time and a
# failure names its step. Needs an X display for quibbix-shot (scripts/test.sh
# provides one; started here when none is set).
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"; fi
top=$PWD
linux=$(realpath "${1:-build}")
web=$top/build-web
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
fail() {
  echo "web check failed: $current: $*" >&2
  failed=$((failed + 1))
}
begin() {
  current=$1
  echo "== web: $current"
  started=$(date +%s)
}
done_step() { echo "   $current: $(($(date +%s) - started)) s"; }

begin "replay under node"
# The committed determinism scenarios of tests/replay, with either relaxation.
# Each entry is {"name", "arguments" "continued", hash}: the literals after the name.
scenarios=()
while IFS= read -r entry; do
  arguments=$(grep -o '"[^"]*"' <<<"$entry" | tail -n +2 | tr -d '"\n')
  [ -n "$arguments" ] && scenarios+=("$arguments" "$arguments --reference")
done < <(sed -n '/^const Scenario kScenarios\[\] = {/,/^};/p' tests/replay/replay_test.cpp |
  tr '\n' ' ' | sed 's/ull},/\n/g')
[ ${#scenarios[@]} -ge 10 ] || fail "found $((${#scenarios[@]} / 2)) scenarios in tests/replay/replay_test.cpp"
scenarios+=(
  "--seed 7 --frames 0"
  "--seed 4294967295 --frames 30 --count 1500 --frame-ms 16,40,3 --events 4:space,4294967296:click"
  "--seed 11 --frames 400 --count 300 --frame-ms 16,40,3 --events 50:space,200:click,300:space"
  # Usage errors: status 2, the usage line on stderr, nothing on stdout.
  ""
  "--seed 1"
  "--seed 1 --frames 9223372036854775808"
  "--seed 1 --frames 3 --count 1501"
  "--seed 1 --frames 3 --events 0:space"
  "--seed 1 --frames 3 --reference --reference"
)
for arguments in "${scenarios[@]}"; do
  # The two side by side, one a core.
  # shellcheck disable=SC2086
  "$linux/quibbix-replay" $arguments >"$work/linux.out" 2>"$work/linux.err" &
  linux_pid=$!
  # shellcheck disable=SC2086
  timeout -k 5 120 node "$web/quibbix-replay.js" $arguments >"$work/node.out" 2>"$work/node.err"
  node_status=$?
  wait "$linux_pid"
  linux_status=$?
  if [ "$linux_status" -ne "$node_status" ]; then
    fail "$arguments: status $node_status, Linux $linux_status: $(head -c 300 "$work/node.err")"
  elif ! cmp -s "$work/linux.out" "$work/node.out"; then
    fail "$arguments: output differs: $(diff "$work/linux.out" "$work/node.out" | head -4)"
  elif ! cmp -s "$work/linux.err" "$work/node.err"; then
    fail "$arguments: stderr differs: $(diff "$work/linux.err" "$work/node.err" | head -4)"
  fi
done
echo "   ${#scenarios[@]} command lines compared"
done_step

begin "page checks' modules"
# Installed again only when the lock file changed since the last install.
stamp=tests/web/node_modules/.installed-from-lock
if ! cmp -s tests/web/package-lock.json "$stamp"; then
  if (cd tests/web && timeout -k 5 300 npm ci --ignore-scripts --no-audit --no-fund) >"$work/npm.log" 2>&1; then
    cp tests/web/package-lock.json "$stamp"
  else
    fail "npm ci: $(tail -5 "$work/npm.log")"
  fi
fi
done_step

begin "page in Chromium"
timeout -k 10 300 node tests/web/page_checks.mjs "$web" "$linux" "$top/build-web-wasm/checks" ||
  fail "see the lines above"
done_step

if [ "$failed" -ne 0 ]; then
  echo "web: $failed check(s) failed" >&2
  exit 1
fi
echo "web: all checks passed"
