#!/usr/bin/env bash
# Installs the Debian packages Charloom needs to build, test and run, when any is missing.
# Idempotent; uses sudo only when not root.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
    fonts-monapo fonts-mona fonts-ipafont-gothic
    desktop-file-utils appstream groff-base
)
if [ "${CHARLOOM_WITH_X:-0}" = 1 ]; then
    packages+=(xvfb xdotool xclip)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
