#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, when any is missing.
set -euo pipefail
PKGS=(build-essential cmake pkg-config libsdl2-dev libstb-dev libgtest-dev libcurl4-openssl-dev nlohmann-json3-dev "$@")
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
