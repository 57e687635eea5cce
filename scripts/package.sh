#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing (the build dependencies as debian/control lists them), builds the Debian
# packages with debhelper (dpkg-buildpackage -b: vendle and vendle-dbgsym) and copies them into
# build/. Prints the program's package file name last.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
export DEBIAN_FRONTEND=noninteractive
if ! dpkg-checkbuilddeps >/dev/null 2>&1; then
    apt-get update -qq
    apt-get build-dep -y -qq ./ >/dev/null
fi
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
dpkg-buildpackage -us -uc -b >build-package.log 2>&1 || { tail -n 40 build-package.log >&2; exit 1; }
mkdir -p build
for file in "../vendle_${version}_${arch}.deb" "../vendle-dbgsym_${version}_${arch}.deb" \
    "../vendle_${version}_${arch}.buildinfo" "../vendle_${version}_${arch}.changes"; do
    [ -e "$file" ] && mv -f "$file" build/
done
# The package build's own folders go; the tree is as it was.
debian/rules clean >/dev/null 2>&1
rm -f build-package.log
echo "vendle_${version}_${arch}.deb"
