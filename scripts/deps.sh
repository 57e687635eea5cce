#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Vendle needs that are not installed yet. Quick when all are present.
# Usage: scripts/deps.sh run|test|fuzz|package
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libglib2.0-dev libicu-dev libx11-dev libchm-dev
    fp-utils-3.2.2 scdoc qt6-l10n-tools)
run_pkgs=(fonts-ipafont-gothic qt6-translations-l10n shared-mime-info adwaita-icon-theme)
# The tests let GTK's own recent manager (through Debian's python3) record documents on a virtual
# display, as desktop applications do.
test_pkgs=(clang-format clang-tidy libgtest-dev libbenchmark-dev locales-all shared-mime-info python3-gi gir1.2-gtk-3.0 xvfb xauth
    xdotool dbus-daemon libglib2.0-bin)

fuzz_pkgs=(clang-14 libclang-rt-14-dev)
# Making the Debian package (debhelper; its own build dependencies come from debian/control) and
# checking it: lintian, the desktop entry, the AppStream data and the manual page.
package_pkgs=(dpkg-dev debhelper lintian desktop-file-utils appstream man-db)

case "${1:-run}" in
fuzz) wanted=("${build_pkgs[@]}" "${fuzz_pkgs[@]}") ;;
run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}" libbenchmark-dev libgtest-dev) ;;
test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}") ;;
package) wanted=("${build_pkgs[@]}" "${package_pkgs[@]}") ;;
*) echo "usage: $0 run|test|fuzz|package" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo: missing ${missing[*]}" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
