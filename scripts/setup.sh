#!/usr/bin/env bash
# Installs the Debian packages the tool and its tests need (only the missing
# ones), then configures the build folder given as first argument.
set -euo pipefail

packages=(cmake make ninja-build lld g++ clang libclang-rt-14-dev pkg-config
          qt6-base-dev qt6-serialport-dev qt6-charts-dev qt6-translations-l10n libqt6svg6
          libgl-dev fonts-dejavu-core poppler-utils
          dpkg-dev desktop-file-utils appstream python3)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Paquets manquants. Lancez d'abord :" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installation de : ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
