# Sourced by the script tests that start hundreds of runs under Wine: they
# get a prefix and a server of their own, since in the shared one their
# traffic would keep the single server busy and stall the tests beside them.
# Starts the server for the whole script (each run then starts fast) and
# stops it when the script ends.
export QUORVEL_WINEPREFIX="${QUORVEL_WINEPREFIX:-$here/../../build/wine/prefix}-runs"
source "$here/../../scripts/wine-env.sh"
"$here/../../scripts/wine-prefix.sh" --null-driver
"$WINESERVER" -p >/dev/null 2>&1 || true
"$WINE" wineboot </dev/null >/dev/null 2>&1 || true
stop_own_wine() { "$WINESERVER" -k 2>/dev/null || true; }
