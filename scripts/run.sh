#!/usr/bin/env bash
# Sets up, builds and starts KVL_PWS with a virtual panel on COM3, the default
# port, so that the tool can be tried without hardware: confirm the link
# settings, then read the programmed card.
# KVL_PWS_HARDWARE=1 starts it on the real serial ports instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$(nproc)" --target kvl-pws kvl-panel-sim

if [ "${KVL_PWS_HARDWARE:-0}" = 1 ]; then
  exec "$top/build/src/kvl-pws"
fi

# A private configuration folder: the user's own ports.conf stays untouched.
demo="$top/.run"
mkdir -p "$demo/config/KVL_PWS"
printf 'COM3=%s\n' "$demo/ttyKVL-COM3" > "$demo/config/KVL_PWS/ports.conf"
"$top/build/sim/kvl-panel-sim" --link "$demo/ttyKVL-COM3" --memory programmed --line-rate \
  > "$demo/panel.log" 2>&1 &
panel=$!
trap 'kill $panel 2>/dev/null; wait $panel 2>/dev/null' EXIT
for _ in $(seq 50); do [ -e "$demo/ttyKVL-COM3" ] && break; sleep 0.1; done
echo "Panneau virtuel sur COM3 ($(head -n1 "$demo/panel.log"))"
XDG_CONFIG_HOME="$demo/config" "$top/build/src/kvl-pws"
