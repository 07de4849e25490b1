#!/usr/bin/env bash
# Builds the libFuzzer target (the fuzz preset: clang, AddressSanitizer, UndefinedBehavior-
# Sanitizer) and fuzzes each plug-in in turn for SECONDS (default 10), seeded from the
# corpus in tests/fuzz/. New inputs go to build/fuzz/corpus/<plug-in>, never into the
# repository. On a crash it prints the input's path and fails; the input replays with
#   build/fuzz/bin/effect_fuzzer <input>
# and, once fixed, is kept under tests/fuzz/regressions/<plug-in>/ as a regression test.
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-10}
[[ "$seconds" =~ ^[0-9]+$ ]] || {
    echo "usage: scripts/fuzz.sh [SECONDS]" >&2
    exit 2
}

# In the order of byte 0 of an input (tests/fuzz/EffectFuzzer.cpp).
plugins=(scalomir brenlit valdrin sorvane kelvost marquil tavrune lunfeth gavorn pellix)

cmake --preset fuzz
cmake --build --preset fuzz --target effect_fuzzer

fuzzer=build/fuzz/bin/effect_fuzzer
failed=()
for index in "${!plugins[@]}"; do
    name=${plugins[$index]}
    scratch=build/fuzz/corpus/$name
    artifacts=build/fuzz/artifacts/$name
    rm -rf "$artifacts"
    mkdir -p "$scratch" "$artifacts"
    seeds=(tests/fuzz/corpus/"$name")
    [[ -d tests/fuzz/regressions/$name ]] && seeds+=(tests/fuzz/regressions/"$name")
    echo
    echo "==> fuzzing $name for $seconds s"
    # The first folder receives the new inputs; the seed folders are only read. With a custom
    # mutator libFuzzer turns length control off unless asked; it keeps inputs short at first.
    if QUORVEL_FUZZ_PLUGIN=$index "$fuzzer" -max_total_time="$seconds" -len_control=100 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$scratch" "${seeds[@]}" \
        >"$artifacts/log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec' "$artifacts/log" |
            sed 's/^stat::/    /'
    else
        tail -n 40 "$artifacts/log"
        for input in "$artifacts"/*; do
            [[ "$input" == "$artifacts/log" ]] && continue
            echo "fuzz.sh: $name crashed on $input" >&2
        done
        failed+=("$name")
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo >&2
    echo "fuzz.sh: FAILED: ${failed[*]} (inputs named above, logs in build/fuzz/artifacts)" >&2
    exit 1
fi
echo
echo "fuzz.sh: ${#plugins[@]} plug-ins fuzzed for $seconds s each, no crash"
