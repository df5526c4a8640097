# Sourced by the top-level scripts: installs the Debian packages the build and
# the tests need when run as root, otherwise names what is missing and stops.
GLIMMER_PACKAGES=(cmake g++ make python3 libgtest-dev libbenchmark-dev clang valgrind
                  g++-mingw-w64-i686 wine wine32:i386 xvfb imagemagick)

glimmer_missing_packages() {
  local pkg
  for pkg in "${GLIMMER_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

ensure_deps() {
  local missing
  missing=$(glimmer_missing_packages | tr '\n' ' ')
  [ -z "${missing// }" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "missing packages; as root run: dpkg --add-architecture i386 && apt-get update && apt-get install -y $missing" >&2
    exit 1
  fi
  echo "installing: $missing"
  dpkg --add-architecture i386
  apt-get update -q >/dev/null
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing >/dev/null
}
