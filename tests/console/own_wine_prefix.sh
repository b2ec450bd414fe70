# Sourced by the script tests that start hundreds of runs under Wine: they
# get a prefix and a server of their own, since in the shared one their
# traffic would keep the single server busy and stall the tests beside them.
# The server runs for the whole script (each run then starts fast); the
# script calls stop_wine_session when it ends.
export QUORVEL_WINEPREFIX="${QUORVEL_WINEPREFIX:-$here/../../build/wine/prefix}-runs"
source "$here/../../scripts/wine-env.sh"
source "$here/../../scripts/wine-session.sh"
start_wine_session
