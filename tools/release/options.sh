# shellcheck shell=bash
# The options make-msi.sh and release.sh share:
#   --source DIR --publisher NAME --version V --epoch SECONDS --program EXE... OUT
# A later option replaces an earlier one (a test re-runs a command with another
# version); each --program adds an exe that ships. Sets source, publisher,
# version, epoch, programs and out (absolute); returns 1 on a bad command line.
release_options() {
  source='' publisher='' version='' epoch='' programs=()
  while [[ $# -gt 1 ]]; do
    case $1 in
    --source) source=$2 ;;
    --publisher) publisher=$2 ;;
    --version) version=$2 ;;
    --epoch) epoch=$2 ;;
    --program) programs+=("$2") ;;
    *) return 1 ;;
    esac
    shift 2
  done
  [[ $# -eq 1 && -d $source && -n $publisher && $version =~ ^[0-9.]+$ && $epoch =~ ^[0-9]+$ ]] &&
    ((${#programs[@]})) || return 1
  source=$(realpath "$source")
  # shellcheck disable=SC2034  # for the caller
  out=$(realpath -m "$1")
}
