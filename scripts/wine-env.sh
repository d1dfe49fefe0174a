# Sourced by the Wine scripts: a private prefix with a Japanese locale and fonts.
# Sets WINEPREFIX and friends and prepares the prefix once (about 10 s).
QV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QV_WINEPREFIX:-$QV_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export WINEARCH=win64
QV_LOCALE_DIR="$QV_ROOT/build/locale"
unset LANGUAGE

qv_prepare_locale() {
  if [ ! -d "$QV_LOCALE_DIR/ja_JP.UTF-8" ]; then
    mkdir -p "$QV_LOCALE_DIR"
    localedef -i ja_JP -f UTF-8 "$QV_LOCALE_DIR/ja_JP.UTF-8" 2>/dev/null || true
    [ -d "$QV_LOCALE_DIR/ja_JP.UTF-8" ] || { echo "wine-env: could not compile the ja_JP.UTF-8 locale" >&2; return 1; }
  fi
}

# Wine takes its ANSI code page (932) from the Unix locale; it is given per command so that
# this shell itself never switches to the privately compiled locale.
qv_wine() { LOCPATH="$QV_LOCALE_DIR" LC_ALL=ja_JP.UTF-8 wine "$@"; }

# Registry entries: unmanaged windows (no 2 s waits without a window manager), font
# replacements so Japanese menus, labels and message boxes are legible, and the Marlett font.
qv_write_registry() {
  local reg="$WINEPREFIX/qv-setup.reg" font="IPAGothic" names
  names=("MS UI Gothic" "MS Gothic" "MS PGothic" "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "ＭＳ ＵＩ Ｇｏｔｈｉｃ"
         "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Terminal" "Meiryo" "Meiryo UI" "Yu Gothic UI"
         "Segoe UI" "System" "Fixedsys" "MS Sans Serif" "Microsoft Sans Serif" "Arial" "Courier New")
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="Y"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for n in "${names[@]}"; do printf '"%s"="%s"\r\n' "$n" "$font"; done
    printf '\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n'
    printf '"Marlett (TrueType)"="marlett.ttf"\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  qv_wine regedit /S "$reg" >/dev/null 2>&1
}

# Wine draws the caption buttons with glyphs of the Marlett font, which Debian's Wine does not
# find on its own: the prefix gets a copy of the one Wine ships (package fonts-wine).
qv_install_marlett() {
  local dir font=""
  for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine*/share/wine/fonts; do
    [ -f "$dir/marlett.ttf" ] && { font="$dir/marlett.ttf"; break; }
  done
  [ -n "$font" ] || { echo "wine-env: Wine's marlett.ttf is missing (apt-get install fonts-wine)" >&2; return 1; }
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
}

# The marker holds the level of the preparation; a prefix prepared at a lower level (or before
# the marker had one) is brought up to date without being created anew.
QV_PREFIX_LEVEL=2
qv_prepare_prefix() {
  qv_prepare_locale || return 1
  [ "$(cat "$WINEPREFIX/.qv-ready" 2>/dev/null)" = "$QV_PREFIX_LEVEL" ] && return 0
  mkdir -p "$WINEPREFIX"
  echo "wine-env: preparing the Wine prefix $WINEPREFIX" >&2
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    LOCPATH="$QV_LOCALE_DIR" LC_ALL=ja_JP.UTF-8 wineboot --init >/dev/null 2>&1
  fi
  qv_install_marlett || return 1
  qv_write_registry
  wineserver -w
  echo "$QV_PREFIX_LEVEL" > "$WINEPREFIX/.qv-ready"
}
