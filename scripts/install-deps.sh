#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test M-R3X Master.
# Only packages that are missing are installed; nothing is done when all are present.
#   --with-display   also what the program needs to show its windows (scripts/start.sh)
#   --for-package    also what building the Debian package needs (scripts/package.sh)
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev
  googletest libgtest-dev
  lrzsz socat            # a file-transfer peer nobody here wrote, over a pty pair
  ser2net                # a serial device server nobody here wrote, in front of the unit's pty
  desktop-file-utils appstream lintian   # check the desktop entry, the metainfo and the package
  g++-mingw-w64-x86-64-posix wine   # the rules' tests cross-built and run as Windows programs
)
for option in "$@"; do
  case "$option" in
    --with-display) packages+=(qt6-qpa-plugins fonts-dejavu-core) ;;
    --for-package) packages+=(dpkg-dev file) ;;   # dpkg-shlibdeps reads the package's dependencies
    *) echo "unknown option: $option" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
