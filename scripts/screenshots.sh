#!/usr/bin/env bash
# Saves pictures of the installer's dialogs into docs/: the destination
# dialog, its folder browser and the progress dialog, as Wine draws them on a
# virtual X display (Xvfb). The windows come from the x86_64 build in
# ZX_SCREENSHOT_BIN (default build/win64/bin, made by `make screenshots`).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
bin=${ZX_SCREENSHOT_BIN:-$root/build/win64/bin}
work=$root/build/screenshots
out=$root/docs

# A prefix of its own with a real graphics driver: the tests' null driver
# draws nothing.
export WINEPREFIX=$work/prefix

# Runs on the virtual display.
shoot() {
  "$WINELOADER" wineboot -i >/dev/null 2>&1
  # Without a window manager Wine draws the frames and captions itself.
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  # The caption buttons' glyphs come from Marlett (package fonts-wine).
  [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wineserver -w
  "$WINELOADER" "$bin/screenshot_driver.exe" "$(winpath "$bin")" "$(winpath "$work")" &
  driver=$!
  for name in destination browser progress; do
    for _ in $(seq 600); do
      [ -f "$work/$name.ready" ] || ! kill -0 $driver 2>/dev/null && break
      sleep 0.1
    done
    [ -f "$work/$name.ready" ] || { echo "screenshots: no $name window" >&2; wait $driver; exit 1; }
    geometry=$(tr -d '\r\n' < "$work/$name.ready")
    import -window root -crop "$geometry" +repage "$out/$name.png"
    echo "screenshots: docs/$name.png ($geometry)"
    touch "$work/$name.done"
  done
  wait $driver
  wineserver -k 2>/dev/null || true
}
if [ "${1:-}" = --on-display ]; then
  shoot
  exit 0
fi
for f in setup.exe progress_probe.exe screenshot_driver.exe; do
  [ -f "$bin/$f" ] || { echo "screenshots: $bin/$f is missing (build the x86_64 tree first)" >&2; exit 1; }
done
rm -rf "$work"; mkdir -p "$work" "$out"
ZX_SCREENSHOT_BIN=$bin xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display
