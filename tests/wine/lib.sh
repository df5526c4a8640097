# shellcheck shell=bash
# Sourced by every Wine test script (bash). The ctest fixture (wine_up) has
# made the prefix and left the simulated gun plugged in, idle, at 416,128; this
# gives the test the same environment and a few helpers:
#   fail MSG / pass [MSG]          end the test
#   expect_eq ACTUAL EXPECTED WHAT fail unless equal
#   wait_for 'COMMAND' SECONDS     poll COMMAND (evaluated) every 0.1 s, bounded;
#                                  a path goes in as \"\$VAR\", expanded then
#                                  (it may hold an apostrophe)
#   gunsim ARGS...                 one gunsimctl command in its own process
#   gunsim_batch_start, gunsim_send CMD, gunsim_batch_stop
#                                  one long-lived gunsimctl for many commands
#   wine_session_start NAME PROGRAM ARGS, wine_session_ask NAME LINE,
#   wine_session_stop NAME         the same for any line-answering program
#   wine_run SECONDS PROGRAM ARGS  a Windows program, bounded, its output relayed
#   TEST_OUT                       a scratch folder of this test; a failure
#                                  leaves a screenshot and the logs there
# lib.sh's EXIT trap ends the sessions (and keeps the evidence of a failed
# exit); a script with a trap of its own calls wine_test_exit from it.
# Wine's output never goes straight to the test's stdout/stderr: a service it
# starts on the way would inherit them and keep ctest waiting.

. "$GLIMMER_SOURCE/tools/gunsim/wine-env.sh"
. "$GLIMMER_SOURCE/tools/gunsim/session.sh"

TEST_NAME=$(basename "$0" .sh)
TEST_OUT=$GLIMMER_BUILD/tests/wine/$TEST_NAME.out
rm -rf "$TEST_OUT"
mkdir -p "$TEST_OUT"

fail() {
  echo "FAIL: $TEST_NAME: $*" >&2
  keep_evidence
  exit 1
}

# What the display showed and what Wine and the simulated gun said, kept in
# TEST_OUT while the program still runs. Once only, bounded.
EVIDENCE_KEPT=
keep_evidence() {
  [[ -z $EVIDENCE_KEPT ]] || return 0
  EVIDENCE_KEPT=yes
  timeout 30 import -display "$DISPLAY" -window root "$TEST_OUT/failure-screen.png" >/dev/null 2>&1 ||
    echo "(no screenshot of $DISPLAY)" >"$TEST_OUT/failure-screen.txt"
  mkdir -p "$TEST_OUT/gunsim-run"
  cp "$GUNSIM_RUN"/*.log "$GUNSIM_RUN"/*.out "$TEST_OUT/gunsim-run/" 2>/dev/null
  # What helpers wrote inside the prefix.
  cp "$GLIMMER_STAGE"/*.log "$TEST_OUT/" 2>/dev/null
  echo "evidence of $TEST_NAME: $TEST_OUT (failure-screen.png, the program's and the simulated gun's logs)" >&2
}

# shellcheck disable=SC2120 # the note is optional
pass() {
  echo "PASS: $TEST_NAME${1:+: $1}"
  exit 0
}

expect_eq() {
  [[ $1 == "$2" ]] || fail "$3: expected '$2', got '$1'"
}

wait_for() {
  local condition=$1 seconds=$2
  local deadline=$((SECONDS + seconds))
  until eval "$condition"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

wine_run() {
  local seconds=$1 status=0
  shift
  timeout "$seconds" wine "$@" >"$TEST_OUT/run.stdout" 2>"$TEST_OUT/run.stderr" </dev/null || status=$?
  tr -d '\r' <"$TEST_OUT/run.stdout"
  tr -d '\r' <"$TEST_OUT/run.stderr" >&2
  return $status
}

gunsim() {
  wine_run 120 "$GUNSIMCTL" "$@"
}

# A Windows program that answers one line per line it reads, kept running for
# many questions (a Wine start costs about a second). Its pipes are fifos, not
# coprocesses: bash keeps only one coprocess at a time.
WINE_SESSIONS=()
wine_session_start() {
  local name=$1
  shift
  local base=$TEST_OUT/$name fd_in fd_out
  rm -f "$base.in" "$base.out"
  mkfifo "$base.in" "$base.out" || fail "mkfifo for $name"
  timeout 900 wine "$@" <"$base.in" >"$base.out" 2>>"$base.stderr" &
  printf -v "${name}_PID" %s $!
  # Opened in the order the program opens them, so neither side waits forever.
  exec {fd_in}>"$base.in" {fd_out}<"$base.out"
  # Both ends are open now: the names can go, so that no test, however it
  # ends, leaves a fifo in its evidence for a `tail *` to hang on.
  rm -f "$base.in" "$base.out"
  printf -v "${name}_IN" %s "$fd_in"
  printf -v "${name}_OUT" %s "$fd_out"
  WINE_SESSIONS+=("$name")
}

# Prints the program's one-line answer to LINE.
wine_session_ask() {
  local name=$1 line=$2 in out reply
  in=${name}_IN
  out=${name}_OUT
  [[ -n ${!in:-} ]] || fail "$name is not running"
  echo "$line" >&"${!in}"
  IFS= read -r -t 300 reply <&"${!out}" || fail "$name gave no answer to '$line'"
  echo "${reply%$'\r'}"
}

wine_session_stop() {
  local name=$1 in out pid fd_in fd_out
  in=${name}_IN
  out=${name}_OUT
  pid=${name}_PID
  [[ -n ${!in:-} ]] || return 0
  fd_in=${!in}
  fd_out=${!out}
  { echo quit >&"$fd_in"; } 2>/dev/null || true
  exec {fd_in}>&- {fd_out}<&-
  wait_for "! kill -0 ${!pid} 2>/dev/null" 20 || kill -KILL "${!pid}" 2>/dev/null || true
  printf -v "${name}_IN" %s ""
}

wine_sessions_stop() {
  local name
  for name in "${WINE_SESSIONS[@]}"; do wine_session_stop "$name"; done
}

gunsim_batch_start() {
  wine_session_start GUNSIM "$GUNSIMCTL" batch
}

# Prints the reply's value; fails the call unless the reply is "ok".
gunsim_send() {
  local reply
  reply=$(wine_session_ask GUNSIM "$*") || exit 1
  case $reply in
  ok) return 0 ;;
  "ok "*) echo "${reply#ok }" ;;
  *) echo "$reply" >&2; return 1 ;;
  esac
}

gunsim_batch_stop() {
  wine_session_stop GUNSIM
}

# An exit that did not come through fail (a killed helper, say) keeps the
# evidence too; scripts with their own trap call this from it.
wine_test_exit() {
  local status=$?
  ((status == 0)) || keep_evidence
  wine_sessions_stop
  return $status
}
trap wine_test_exit EXIT
