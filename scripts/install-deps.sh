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
# The end-to-end check of the desktop program on a virtual X server and the screenshot scripts;
# CHARLOOM_WITH_X=0 leaves them out (the check then reports itself skipped).
if [ "${CHARLOOM_WITH_X:-1}" = 1 ]; then
    packages+=(xvfb xdotool xclip x11-apps netpbm libx11-dev)
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
