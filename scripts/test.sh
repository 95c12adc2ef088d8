#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# (warnings are errors) and runs every test, then each fuzz target for a minute. Ends
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMARO_SANITIZE=ON -DVELMARO_WERROR=ON
cmake --build build/asan
(cd build/asan && ctest --output-on-failure -j "$(nproc)" --timeout 300)
# Then every fuzz target for 60 seconds (libFuzzer, built with clang).
bash scripts/fuzz.sh 60
