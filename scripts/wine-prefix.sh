# Sourced by the scripts that need a Wine prefix. Defines wyndo_prepare_prefix PREFIX [virtual-desktop].
# A prefix gets Wine's own fonts copied in (Debian's Wine does not find them, and without them
# caption-button glyphs and MS Sans Serif are missing); with "virtual-desktop" it also gets a
# 1280x1024 virtual desktop, which draws frames and captions and gives a task bar, a tray and
# reliable keyboard focus without a window manager.
wyndo_prepare_prefix() {
  local prefix=$1 mode=${2:-}
  export WINEPREFIX="$prefix"
  if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    # wine-mono and wine-gecko are not needed; skipping them avoids an install prompt.
    WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all wineboot -i >/dev/null 2>&1
    WINEDEBUG=-all wineserver -w
  fi
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  if [ "$mode" = virtual-desktop ]; then
    WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  fi
}
