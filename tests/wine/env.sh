# Sourced by the Wine scripts: how programs run under 64-bit Wine here.
export WINELOADER=${WINELOADER:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}
export WINEARCH=win64
# Wine's own tools (wineserver, wineboot) live beside the loader.
export PATH="$(dirname "$WINELOADER"):$PATH"
# The Windows path of a file of this machine, as a Wine process sees it.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
