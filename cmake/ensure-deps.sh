# shellcheck shell=bash
# Sourced by the top-level scripts: installs the Debian packages the build and
# the tests need when run as root, otherwise names what is missing and stops.
GLIMMER_PACKAGES=(cmake g++ make python3 libgtest-dev libbenchmark-dev clang libclang-rt-14-dev valgrind lld
                  g++-mingw-w64-i686 wine wine32:i386 xvfb x11-utils imagemagick wixl msitools osslsigncode openssl
                  clang-tidy cppcheck shellcheck)

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
  apt-get update -q >/dev/null || true
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q $missing >/dev/null && return 0
  # A mirror caught mid-sync can serve the security archive's amd64 index but
  # not its i386 one; the i386 halves of Multi-Arch: same packages then have no
  # version matching amd64's candidate. Without the security archive both come
  # from the same release and agree.
  echo "install failed; trying again without the security archive"
  local list
  list=$(mktemp)
  glimmer_apt_entries /etc/apt | grep -v security | sed 's/^/deb /' > "$list"
  local apt=(apt-get -q -o Dir::Etc::SourceList="$list" -o Dir::Etc::SourceParts=-)
  "${apt[@]}" update >/dev/null || true
  local rc=0
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y $missing >/dev/null || rc=$?
  rm -f "$list"
  return $rc
}

# Some kernels here run no 32-bit x86 program (IA-32 emulation off): wine32
# then fails with "Exec format error". Such programs run through qemu's i386
# user emulator registered with binfmt_misc. Bookworm's qemu 7.2 cannot map
# Wine's shared user data; trixie's qemu 10 can, and its qemu-i386 is static.
GLIMMER_QEMU=/usr/local/bin/qemu-i386-10

# "URI SUITE COMPONENTS..." for every deb entry of apt's sources (APT_DIR,
# /etc/apt by default), one-line and deb822 alike.
glimmer_apt_entries() {
  local etc=${1:-/etc/apt} f
  for f in "$etc/sources.list" "$etc"/sources.list.d/*.list; do
    [ -r "$f" ] || continue
    awk '{ sub(/#.*/, "") } $1 == "deb" {
      i = 2
      if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
      line = $i; for (j = i + 1; j <= NF; j++) line = line " " $j; print line }' "$f"
  done
  for f in "$etc"/sources.list.d/*.sources; do
    [ -r "$f" ] || continue
    awk 'function flush(   u, s, nu, ns, a, b) {
           if (types ~ /(^| )deb( |$)/ && enabled !~ /^[Nn]o$/) {
             nu = split(uris, a, " "); ns = split(suites, b, " ")
             for (u = 1; u <= nu; u++) for (s = 1; s <= ns; s++) print a[u], b[s], comps
           }
           types = uris = suites = comps = enabled = ""
         }
         /^[ \t]*$/ { flush(); next }
         /^[ \t#]/ { next }
         { key = tolower($1); sub(/^[^:]*:[ \t]*/, ""); sub(/[ \t]+$/, "") }
         key == "types:" { types = $0 } key == "uris:" { uris = $0 } key == "suites:" { suites = $0 }
         key == "components:" { comps = $0 } key == "enabled:" { enabled = $0 }
         END { flush() }' "$f"
  done
}

# The URI of the Debian archive apt already uses: an entry with "main" that is
# not the security archive, preferring one whose fetched Release says Debian.
glimmer_debian_archive_uri() {
  local uri suite comps list first=
  while read -r uri suite comps; do
    case " $comps " in *" main "*) ;; *) continue ;; esac
    case "$uri $suite" in *security*) continue ;; esac
    [ -n "$first" ] || first=$uri
    list=/var/lib/apt/lists/$(printf '%s' "${uri#*://}" | sed 's#/*$##; s#/#_#g')_dists_${suite}_
    if grep -qs '^Label: Debian$' "${list}InRelease" "${list}Release"; then
      echo "$uri"
      return 0
    fi
  done < <(glimmer_apt_entries "${1:-}")
  [ -n "$first" ] && echo "$first"
}

glimmer_i386_runs() {
  wine --version >/dev/null 2>&1
}

ensure_i386_exec() {
  glimmer_i386_runs && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "this kernel runs no 32-bit programs; as root run ./test.sh once to register qemu-i386 for them" >&2
    exit 1
  fi
  if [ ! -x "$GLIMMER_QEMU" ]; then
    local archive dir
    archive=$(glimmer_debian_archive_uri /etc/apt) ||
      { echo "no Debian archive in apt's sources (/etc/apt) to fetch trixie's qemu-user from" >&2; exit 1; }
    echo "installing qemu-i386 from Debian trixie ($archive) for 32-bit programs"
    dir=$(mktemp -d)
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    echo "deb [arch=amd64] $archive trixie main" > "$dir/sources.list"
    local apt=(apt-get -q -o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts=-
               -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache"
               -o APT::Architectures=amd64 -o APT::Sandbox::User=root)
    "${apt[@]}" update >/dev/null
    (cd "$dir" && "${apt[@]}" download qemu-user >/dev/null)
    dpkg-deb -x "$dir"/qemu-user_*.deb "$dir/x"
    install -m 755 "$dir/x/usr/bin/qemu-i386" "$GLIMMER_QEMU"
    rm -rf "$dir"
  fi
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  [ -e "$binfmt/qemu-i386" ] && echo -1 > "$binfmt/qemu-i386"
  # Flag F opens the interpreter now, so it also works inside other mount namespaces.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$GLIMMER_QEMU"':F' > "$binfmt/register"
  glimmer_i386_runs || { echo "32-bit programs still do not run; wine32 is unusable here" >&2; exit 1; }
}
