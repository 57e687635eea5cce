#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Vendle in build/ and makes its Debian package there
# (build/vendle_<version>_<arch>.deb), with its dependencies found by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
bash scripts/build.sh
cd build
rm -f vendle_*.deb
cpack -G DEB >/dev/null
ls vendle_*.deb
