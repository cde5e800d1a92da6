#!/usr/bin/env bash
# Builds the Debian package of M-R3X Master into dist/: the program, its command-line tools, the
# simulated unit, their manual pages, the icon, the desktop entry, the AppStream metainfo and the
# collector's systemd user units, and checks it with lintian where installed. Install it with
#   sudo apt install ./dist/mr3x-master_<version>_<arch>.deb
# (apt pulls in the Qt libraries it needs).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --for-package
cmake --preset package
cmake --build --preset package
rm -f dist/mr3x-master_*.deb
(cd build-package && cpack -G DEB)
deb=$(ls dist/mr3x-master_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb"
if command -v lintian >/dev/null; then lintian --fail-on error "$deb"; fi
echo "Built $deb"
