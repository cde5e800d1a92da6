#!/usr/bin/env bash
# Builds M-R3X Master and starts it on a demo program folder inside the build tree. Only the
# program and the simulated unit are built (the tests and benchmarks are scripts/test.sh's).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-display
cmake --preset dev
cmake --build --preset dev -j2 --target mr3x-master mr3x-unit-sim
demo="$PWD/build/demo/M-R3X Master"
scripts/seed-demo.sh "$demo"
cd "$demo"
# The port list offers the in-process simulated unit beside the real ports.
export MR3X_SIMULATED_UNIT="${MR3X_SIMULATED_UNIT:-M-R32}"
# And one on the network, as a serial device server offers it: MR-0103 at rfc2217://127.0.0.1:4001
# ("Unit Addresses.txt"), for as long as the program runs.
"$OLDPWD/build/sim/mr3x-unit-sim" --listen 127.0.0.1:4001 --rfc2217 --serial MR-0103 --seed 3 > /dev/null &
remote=$!
trap 'kill "$remote" 2>/dev/null || true' EXIT
"$OLDPWD/build/src/mr3x-master" "$@"
