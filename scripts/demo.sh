#!/usr/bin/env bash
# Builds the demo product's installer with mksetup and drives it under Wine
# like a user who accepts every default, shows what it left behind, then
# runs the uninstaller the same way and shows what is left after it.
# ZX_DEMO_SHOW=1 with a DISPLAY set shows the real windows instead of the
# headless run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
bin=$root/dist/win64
work=$root/build/demo
export WINEPREFIX=$work/prefix
wine() { "$WINELOADER" "$@"; }

rm -rf "$work"; mkdir -p "$work"
if [ -n "${ZX_DEMO_SHOW:-}" ] && [ -n "${DISPLAY:-}" ]; then
  "$WINELOADER" wineboot -i >/dev/null 2>&1; wineserver -w
else
  "$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null
fi

echo "== The demo product's payload"
cp -r "$root/demo/payload" "$work/payload"
(cd "$work/payload" && find . -type f | sort | sed 's/^\.\//  /')
echo "  (mksetup adds its uninstall.exe at the root)"

echo "== mksetup"
wine "$bin/mksetup.exe" "$(winpath "$root/demo/tabrel_d5.script")" "$(winpath "$work/payload")" \
  "$(winpath "$work/tabrel_d5_setup.exe")"

if [ -f "$bin/fakeide.exe" ]; then
  echo "== A substitute Delphi 5 for the installer to find"
  wine "$bin/fakeide.exe" install D5 'C:\Borland\Delphi5'
fi

echo "== The installer, as the user sees it"
wine "$bin/autodrive.exe" "$(winpath "$work/tabrel_d5_setup.exe")"
wineserver -w

show_key() {
  local out
  out=$(wine reg query "$1" /s 2>/dev/null | tr -d '\r' | sed '/^$/d' | grep -v '^reg: ') || true
  # A value of several lines goes on below its name, indented further.
  if [ -n "$out" ]; then echo "$out" | awk '/^(HKEY_|    )/ { print "  " $0; next } { print "              " $0 }'
  else echo "  (no key $1)"; fi
}
show_state() {
  show_key 'HKCU\Software\Corvane Company'
  show_key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane Tabrel for Delphi 5'
  show_key 'HKCU\Software\Borland\Delphi\5.0\Known Packages'
  local drive=$WINEPREFIX/drive_c
  echo "  files in C:\\Corvane:"
  if [ -d "$drive/Corvane" ]; then (cd "$drive" && find Corvane | sort | sed 's/^/    /'); else echo "    (none)"; fi
  local ide=$drive/Borland/Delphi5
  if [ -f "$ide/HELP/delphi5.cnt" ]; then
    echo "  index lines of the IDE's help contents file C:\\Borland\\Delphi5\\HELP\\delphi5.cnt:"
    tr -d '\r' < "$ide/HELP/delphi5.cnt" | grep '^:Index ' | sed 's/^/    /'
  fi
  echo "  files in the system folder:"
  (cd "$drive/windows/system32" && ls zx* 2>/dev/null | sed 's/^/    /') || echo "    (none)"
  echo "  shortcuts in the Start menu's Programs folder, as the shell reads them:"
  local links=() f rel
  while IFS= read -r f; do rel=${f#"$drive"/}; links+=("C:\\${rel//\//\\}"); done \
    < <(find "$drive/users" -path '*/Start Menu/Programs/*' -name '*.lnk' | sort)
  if [ ${#links[@]} -gt 0 ]; then wine "$root/build/win64/bin/show_link.exe" "${links[@]}" | tr -d '\r' | sed 's/^/    /'
  else echo "    (none)"; fi
}

echo "== What it wrote"
ide=$WINEPREFIX/drive_c/Borland/Delphi5
if [ -f "$ide/tools.log" ]; then
  echo "  the IDE's tools as the installer started them (folder>command line):"
  tr -d '\r' < "$ide/tools.log" | sed 's/^/    /'
fi
show_state

echo "== The uninstaller, started by the entry's command, as the user sees it"
wine "$bin/autodrive.exe" --follow 'C:\Corvane\Tab_D5\UnInstall.exe' 'Corvane Tabrel for Delphi 5'
wineserver -w

echo "== What is left after it"
show_state
