#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Vendle and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    cat >&2 <<'MSG'
Vendle is a desktop program and needs a graphical session, but no display was found
(neither DISPLAY nor WAYLAND_DISPLAY is set). It was built at build/vendle.
To try it without a desktop, start it on a virtual display:
    apt-get install -y xvfb && xvfb-run -a build/vendle
MSG
    exit 1
fi
exec build/vendle
