# Sourced after wine-env.sh by whatever runs many Windows programs in one
# prefix (tests, benchmarks, screenshots): the prefix is made once, with the
# null graphics driver (no X server needed), and its server is kept running
# meanwhile, so that each program starts in a fraction of a second.
start_wine_session() {
  "$QUORVEL_ROOT/scripts/wine-prefix.sh" --null-driver
  "$WINESERVER" -p >/dev/null 2>&1 || true  # one already running is fine
  "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
}
# Ends the server and whatever still runs in the prefix.
stop_wine_session() { "$WINESERVER" -k 2>/dev/null || true; }
