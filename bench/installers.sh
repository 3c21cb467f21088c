# Sourced by the benchmarks: how they write the installers they compare and
# clear what ours leaves behind. Needs $root.

# Debian's nsis, installed when makensis is missing.
need_nsis() {
  command -v makensis >/dev/null && return
  local sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends nsis >/dev/null
}

# ours_script FILE APPNAME INSTALLDIR: an installer script that asks nothing
# but the welcome box (timedrun answers it).
ours_script() {
  printf '%s\n' "APPNAME = $2" "INSTALLDIR = $3" "PROMPTINSTALLDIR = No" "CHECKPREVVERSION = No" "CHECKDELPHI = No" \
    "SUCCESSMESSAGE = No" >"$1"
}

# nsis_script FILE EXE INSTALLDIR PAYLOAD DIRECTIVE...: a silent 64-bit NSIS
# installer of the folder PAYLOAD, with the directives given (compression).
nsis_script() {
  local nsi=$1 exe=$2 dir=$3 payload=$4
  shift 4
  { echo "Target amd64-unicode"
    printf '%s\n' "$@"
    cat <<NSI
SilentInstall silent
RequestExecutionLevel user
OutFile "$exe"
InstallDir "$dir"
Section
  SetOutPath "\$INSTDIR"
  File /r "$payload/*"
SectionEnd
NSI
  } >"$nsi"
}

# A key the installer names in its records' code, as the registry spells it.
record_key() {
  sed -n "s/.*const $1 = \"\\(.*\\)\";/\\1/p" "$root/records/record_text.cpp" | sed 's/\\\\/\\/g; s/^\\//'
}
maker_key=$(record_key kMakerKeyPath)
uninstall_root=$(record_key kUninstallRootPath)
# forget_records APPNAME [PREFIX...]: deletes the records of our installs (the
# maker's key, with every install's file counts) and APPNAME's uninstall
# entry, so that the next run reads none of them. PREFIX: taskset's, or none.
forget_records() {
  local app=$1
  shift
  "$@" "$WINELOADER" reg delete "HKCU\\$maker_key" /f >/dev/null 2>&1 || true
  "$@" "$WINELOADER" reg delete "HKLM\\$uninstall_root\\$app" /f >/dev/null 2>&1 || true
}

# warm_server EXE [PREFIX...]: a new Wine server for the prefix, kept up until
# the next `wineserver -k`, and EXE run once untimed under timedrun: the
# prefix's services start beside the first program, not inside a timed one.
# Needs $timedrun. PREFIX: taskset's, or none.
warm_server() {
  local exe=$1
  shift
  wineserver -k 2>/dev/null || true
  "$@" wineserver -p
  "$@" "$WINELOADER" "$timedrun" run "$(winpath "$exe")" >/dev/null
}
