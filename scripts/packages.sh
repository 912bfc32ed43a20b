# Shared by the project's scripts: installs Debian packages that are missing, and nothing else.

# Everything needed to build the program and run its tests.
BUILD_PACKAGES=(
  cmake g++ pkg-config
  qt6-base-dev zlib1g-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-utils w3c-sgml-lib python3
  python3-pyftpdlib proftpd-core
)

# ensure_packages NAME...: apt-get runs only when one of the packages is not installed yet.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}
