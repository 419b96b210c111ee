#!/usr/bin/env bash
# Sets up, builds and starts KVL_PWS.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$(nproc)" --target kvl-pws
exec "$top/build/src/kvl-pws"
