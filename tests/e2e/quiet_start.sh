#!/usr/bin/env bash
# What a second ./play prints before the game: nothing from a build with nothing to do,
# nothing from the stand-in writer when every file is in place; both still speak when they
# work or fail.
set -u
standins=${1:?path to standins}
quiet_build="$(cd "$(dirname "$0")/../.." && pwd)/scripts/quiet-build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "quiet start: $*"; exit 1; }

out=$("$quiet_build" printf '[ 50%%] Built target quor\n[100%%] Built target standins\n') ||
  fail "a build with nothing to do failed"
[ -z "$out" ] || fail "a build with nothing to do printed: $out"
out=$("$quiet_build" printf '[ 50%%] Built target quor\n[ 90%%] Building CXX object a.o\n')
[ "$(echo "$out" | wc -l)" -eq 2 ] || fail "a build that works did not print all it said: $out"
out=$("$quiet_build" sh -c 'echo "[ 50%] Built target quor"; exit 2')
[ $? -eq 2 ] || fail "a failed build did not fail"

first=$("$standins" "$work") || fail "standins failed"
[ -n "$first" ] || fail "standins wrote its files without a word"
second=$("$standins" "$work") || fail "standins failed the second time"
[ -z "$second" ] || fail "standins with nothing to write printed: $second"
echo "quiet start: ok"
