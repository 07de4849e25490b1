#!/usr/bin/env bash
# Builds all three targets and runs every test: the Linux build natively, the 64-bit Windows
# build under Wine, the 32-bit Windows build compiled only; then checks what each plug-in
# library exports. Then the hardening checks: the native tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer, the race test under ThreadSanitizer, and a bounded fuzzing
# run of every plug-in (FUZZ_SECONDS each, 10 unless set). Stops at the first failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

started=$SECONDS
passed=0

step() {
    echo
    echo "==> $*"
}
fail() {
    echo >&2
    echo "test.sh: FAILED: $*" >&2
    exit 1
}
# ctest's closing line ("100% tests passed, 0 tests failed out of N") feeds the total.
run_tests() {
    local preset=$1 log="build/$1/ctest.log"
    ctest --preset "$preset" 2>&1 | tee "$log" || fail "$preset tests (see the output above)"
    local count
    count=$(sed -n 's/.*tests failed out of \([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)
    passed=$((passed + ${count:-0}))
}

bash scripts/setup.sh all || fail "the build machine is missing packages (see above)"

step "formatting of our C++ sources"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror \
        || fail "sources not formatted (run clang-format -i on the files named above)"
else
    echo "not a git checkout: formatting not checked"
fi

step "native: configure, build, test"
cmake --preset native || fail "configuring native"
cmake --build --preset native || fail "building native"
run_tests native

step "win64: configure, build, test under Wine"
cmake --preset win64 || fail "configuring win64"
cmake --build --preset win64 || fail "building win64"
# Made before ctest starts the tests two at a time.
scripts/wine-run --build-dir build/win64 --init || fail "creating the Wine prefix"
run_tests win64
scripts/wine-run --build-dir build/win64 --wait || true

step "win32: configure, build (nothing here can run 32-bit code)"
cmake --preset win32 || fail "configuring win32"
cmake --build --preset win32 || fail "building win32"

step "exports of every plug-in library"
for folder in plugins/*/; do
    name=$(basename "$folder")
    scripts/check-exports.sh --arch native "build/native/bin/$name.so" \
        || fail "$name.so exports or needs the wrong things"
    scripts/check-exports.sh --arch win64 "build/win64/bin/$name.dll" \
        || fail "win64 $name.dll exports or needs the wrong things"
    scripts/check-exports.sh --arch win32 "build/win32/bin/$name.dll" \
        || fail "win32 $name.dll exports or needs the wrong things"
    passed=$((passed + 3))
done

step "sanitize: the native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize || fail "configuring sanitize"
cmake --build --preset sanitize || fail "building sanitize"
run_tests sanitize

step "tsan: automation against processing on every plug-in under ThreadSanitizer"
cmake --preset tsan || fail "configuring tsan"
cmake --build --preset tsan --target RaceTest || fail "building the race test"
run_tests tsan

step "fuzz: every plug-in for ${FUZZ_SECONDS:-10} s"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-10}" || fail "fuzzing found a fault (see above)"
passed=$((passed + 10))

echo
echo "All three targets built and tested, and the hardening checks passed, in $((SECONDS - started)) s."
echo "test.sh: $passed passed, 0 failed"
