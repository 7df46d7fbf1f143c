# Sourced by the scripts that run Windows programs: a private wine64 prefix in
# the build folder, and the Chinese ANSI code page (936) that the program's
# 8-bit texts need. Set OL_CODEPAGE=1252 for a western code page instead.
OL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${OL_WINE_DIR:=$OL_ROOT/build/wine}"
export WINEPREFIX="$OL_WINE_DIR/prefix" WINEARCH=win64 WINEDEBUG=-all \
       WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 \
       WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$OL_WINE_DIR"

# Wine takes the code page from LANG, but only for a locale glibc has; this
# machine ships none, so build one into the wine folder.
OL_LANG=en_US.UTF-8
OL_LOCPATH=
if [ "${OL_CODEPAGE:-936}" = 936 ]; then
  if [ ! -d "$OL_WINE_DIR/locale/zh_CN.UTF-8" ]; then
    mkdir -p "$OL_WINE_DIR/locale"
    localedef -i zh_CN -f UTF-8 "$OL_WINE_DIR/locale/zh_CN.UTF-8" >/dev/null 2>&1 || true
  fi
  OL_LANG=zh_CN.UTF-8
  OL_LOCPATH="$OL_WINE_DIR/locale"
fi

# wine64 with the chosen code page. The locale is passed to wine only: bash
# itself cannot load a locale from LOCPATH and would complain.
ol_wine() {
  env -u LC_ALL -u LC_CTYPE LANG="$OL_LANG" ${OL_LOCPATH:+LOCPATH="$OL_LOCPATH"} /usr/lib/wine/wine64 "$@"
}

ol_wine_init() {
  # Nothing started under the lock may inherit its descriptor: a wineserver
  # that keeps it open would hold the lock for as long as it lives.
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.ol-ready-4" ]; then
      ol_wine wineboot -i </dev/null >/dev/null 2>&1 9>&-
      # An unguarded crash would otherwise wait a minute in the crash dialog.
      ol_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&-
      # Chinese and Latin glyphs from one installed face for the dialog fonts;
      # windows draw their own frames (Xvfb has no window manager).
      printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"SimSun"="WenQuanYi Zen Hei"' '"宋体"="WenQuanYi Zen Hei"' '"MS Sans Serif"="WenQuanYi Zen Hei"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' |
        iconv -f UTF-8 -t UTF-16 > "$OL_WINE_DIR/fonts.reg"
      ol_wine regedit /S "$(ol_wine winepath -w "$OL_WINE_DIR/fonts.reg" 2>/dev/null 9>&-)" >/dev/null 2>&1 9>&-
      touch "$WINEPREFIX/.ol-ready-4"
    fi
  ) 9>"$OL_WINE_DIR/.init.lock"
  # A persistent server: the first wine process must not be a child of a
  # test runner, or wine's helpers inherit its pipes and the runner hangs.
  "$WINESERVER" -p 2>/dev/null || true
  ol_wine wineboot </dev/null >/dev/null 2>&1 || true
}
