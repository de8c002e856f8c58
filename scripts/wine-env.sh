# Sourced: the environment every Wine run of this project uses.
#   MIVRA_BUILD   the build folder (default: build/ beside the sources)
# Sets WINE, WINEPREFIX (private to the build folder), code page 936 and a
# Trash of its own (Wine's Recycle Bin is the host's XDG Trash).
mivra_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export MIVRA_BUILD=${MIVRA_BUILD:-$mivra_root/build}
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX=${WINEPREFIX:-$MIVRA_BUILD/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
export XDG_DATA_HOME=$MIVRA_BUILD/xdg-data
mkdir -p "$XDG_DATA_HOME"
