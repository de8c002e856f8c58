#!/usr/bin/env bash
# Makes the build's private Wine prefix once (code page 936, a CJK font in
# place of "微软雅黑", no crash dialog) and starts its server, so that later
# runs cost well under a second. Safe to call again.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"

# A Wine service started by a test inherits that test's pipes; a server
# started here first, with its own stdio on /dev/null, keeps ctest from
# waiting on them for ever.
start_server() {
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true  # already running is fine
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
}

if [ -f "$WINEPREFIX/.mivra-ready" ]; then
  start_server
  exit 0
fi

echo "wine: making the prefix $WINEPREFIX (once)"
mkdir -p "$WINEPREFIX"
start_server

reg_file=$(mktemp --suffix=.reg)
cjk_font="WenQuanYi Micro Hei"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  printf '"微软雅黑"="%s"\r\n"Microsoft YaHei"="%s"\r\n"宋体"="%s"\r\n"SimSun"="%s"\r\n\r\n' \
    "$cjk_font" "$cjk_font" "$cjk_font" "$cjk_font"
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg_file"
"$WINE" regedit /S "Z:${reg_file//\//\\}" </dev/null >/dev/null 2>&1
rm -f "$reg_file"
"$WINESERVER" -k || true
start_server
touch "$WINEPREFIX/.mivra-ready"
