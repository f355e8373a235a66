#!/usr/bin/env bash
# The monkey's long run: random input over every window under AddressSanitizer and
# UndefinedBehaviorSanitizer, several seeds.
#   bash scripts/monkey.sh [--odd-book] [EVENTS] [SEED ...]   (defaults: 100000 events, seeds 1 2 3)
# With --odd-book the run goes over the small book of another shape the tests use
# (tests/support/odd_book.h) instead of the built-in book.
# Builds the sanitizer build in ./build-asan first (reusing ./build's content when present).
# A crash, a sanitizer report or a stalled event loop ends the run with a failure; the last
# actions are printed. Keep the seed of any failure in tests/test_monkey.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
book=()
if [ "${1:-}" = "--odd-book" ]; then
    book=(--odd-book)
    shift
fi
events=${1:-100000}
shift || true
seeds=("$@")
[ ${#seeds[@]} -gt 0 ] || seeds=(1 2 3)

args=(-S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQCBOOK_SANITIZE=ON -DQCBOOK_BENCH=OFF)
[ -d build/content/out ] && args+=("-DQCBOOK_PREBUILT_CONTENT=$PWD/build/content/out")
cmake "${args[@]}" >/dev/null
cmake --build build-asan -j"$(nproc)" --target qcbook_monkey

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for seed in "${seeds[@]}"; do
    start=$(date +%s)
    ./build-asan/tests/qcbook_monkey --events "$events" "${book[@]}" "$seed"
    echo "seed $seed: $(( $(date +%s) - start )) s"
done
