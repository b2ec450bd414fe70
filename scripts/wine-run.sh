#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine prefix (code page
# 932, no X server needed). CMake uses it as the cross-compiling emulator.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/wine-env.sh"
[ -f "$WINEPREFIX/.quorvel-ready" ] || "$here/wine-prefix.sh" --null-driver
exec "$WINE" "$@"
