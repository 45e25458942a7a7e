# Sourced by the Wine helpers: the environment of one build folder's Wine.
# WINE_BUILD_DIR names the build folder; its prefix and display live there.
: "${WINE_BUILD_DIR:?WINE_BUILD_DIR must name the build folder}"
export WINEPREFIX="$WINE_BUILD_DIR/wineprefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: nothing is fetched, and no dialog asks for them.
# No sound driver: the machines have no sound card, and ALSA only complains.
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
export WINESERVER=/usr/lib/wine/wineserver
WINE=/usr/lib/wine/wine64
if [ -f "$WINE_BUILD_DIR/wine-display" ]; then
  DISPLAY=$(cat "$WINE_BUILD_DIR/wine-display")
  export DISPLAY
fi
