#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the installed program as a user gets it: the desktop entry and the AppStream data
# validate, the package installs with apt, the installed program starts under a virtual display
# with its window up, keeps its files in the user's folders (nothing beside /usr/bin/vendle) and
# saves on SIGTERM; then the package is removed again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package

# Debian 12's validator predates version 1.5 of the desktop entry format, whose SingleMainWindow
# key it takes for an unknown extension; any other finding fails.
findings=$(desktop-file-validate dist/org.vendle.Vendle.desktop 2>&1 | grep -v 'key "SingleMainWindow"' || true)
if [ -n "$findings" ]; then
    echo "$findings" >&2
    exit 1
fi
appstreamcli validate --no-net --pedantic build/dist/org.vendle.Vendle.metainfo.xml
# The manual page renders without a warning.
warnings=$(man --warnings -l build/vendle.1 2>&1 >/dev/null || true)
if [ -n "$warnings" ]; then
    echo "$warnings" >&2
    exit 1
fi

deb=$(bash scripts/package.sh | tail -n 1)
# Checked as Debian checks a package: an error or a warning fails; pedantic and informational tags
# are shown.
lintian --fail-on error,warning --display-info --pedantic "build/$deb" "build/${deb/vendle_/vendle-dbgsym_}"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "./build/$deb" >/dev/null
trap 'dpkg -s vendle >/dev/null 2>&1 && apt-get remove -y -qq vendle >/dev/null' EXIT
test -x /usr/bin/vendle
test -x /usr/libexec/vendle/vendle-helpcheck
test -f /usr/share/vendle/vendle.chm
test -f /usr/share/applications/org.vendle.Vendle.desktop
test -f /usr/share/icons/hicolor/scalable/apps/org.vendle.Vendle.svg
test -f /usr/share/icons/hicolor/22x22/apps/org.vendle.Vendle.png
test -f /usr/share/metainfo/org.vendle.Vendle.metainfo.xml
test -f /usr/share/gnome-shell/search-providers/org.vendle.Vendle.search-provider.ini
test -f /usr/share/krunner/dbusplugins/org.vendle.Vendle.desktop
grep -qx "Exec=/usr/bin/vendle" /usr/share/dbus-1/services/org.vendle.Vendle.service
ls /usr/share/man/man1/vendle.1* >/dev/null
# The command line answers without a display.
vendle --help | grep -q -- '--version'
vendle --version | grep -q 'GPL-3.0-or-later'
if vendle --bogus 2>/dev/null; then exit 1; else test $? -eq 2; fi

user=$(mktemp -d /tmp/vendle-installed.XXXXXX)
trap 'rm -rf "$user"; dpkg -s vendle >/dev/null 2>&1 && apt-get remove -y -qq vendle >/dev/null' EXIT
mkdir -p "$user/home" "$user/config/vendle" "$user/data" "$user/run"
chmod 0700 "$user/run"
# A user who started Vendle before (no welcome boxes).
printf '[%%%%%% Application Infomation Section %%%%%%]\r\nFirstKick=2026/01/01\r\nExecCount=3\r\nDebugDoAsFirst=0\r\n' \
    >"$user/config/vendle/vendle.ini"
cat >"$user/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
vendle 2>"$VENDLE_LOG" &
pid=$!
for _ in $(seq 1 100); do
    if xdotool search --onlyvisible --name '^Vendle - ' >/dev/null 2>&1; then
        break
    fi
    sleep 0.1
done
xdotool search --onlyvisible --name '^Vendle - ' >/dev/null
kill -TERM "$pid"
wait "$pid"
SESSION
chmod +x "$user/session.sh"
env -i PATH=/usr/bin:/bin HOME="$user/home" XDG_CONFIG_HOME="$user/config" XDG_DATA_HOME="$user/data" \
    XDG_RUNTIME_DIR="$user/run" LANG=ja_JP.UTF-8 VENDLE_LOG="$user/vendle.log" \
    xvfb-run -a "$user/session.sh" || { cat "$user/vendle.log" >&2; exit 1; }
test -f "$user/data/vendle/vendle.dat"
test -f "$user/data/vendle/vendle.seen"
grep -q 'ExecCount=4' "$user/config/vendle/vendle.ini"
test "$(stat -c %a "$user/data/vendle")" = 700
test ! -e /usr/bin/vendle.ini && test ! -e /usr/bin/vendle.dat
grep -q "files in the user's folders" "$user/vendle.log"

apt-get remove -y -qq vendle >/dev/null
test ! -e /usr/bin/vendle
echo "the package installs, runs from /usr/bin with its files in the user's folders, and uninstalls"
