# Sourced by the benchmarks that build NSIS installers: installs Debian's
# nsis when makensis is missing.
if ! command -v makensis >/dev/null; then
  sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends nsis >/dev/null
fi
