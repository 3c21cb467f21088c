# Sourced by the Wine scripts: how programs run under Wine here. The loader
# folder that tests/wine/make-loader.sh makes (scripts/deps.sh makes it in
# build/wine) also runs i686 programs, under emulation.
zx_loader="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine/lib/wine/wine64"
[ -x "$zx_loader" ] || zx_loader=/usr/lib/wine/wine64
export WINELOADER=${WINELOADER:-$zx_loader}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}
export WINEARCH=win64
# Wine's own tools (wineserver, wineboot) live beside the loader.
export PATH="$(dirname "$WINELOADER"):$PATH"
# The Windows path of a file of this machine, as a Wine process sees it.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
