#!/usr/bin/env bash
# The installer, in a prefix of its own so that nothing it does reaches the
# other tests:  msi_install.sh MSI VERSION PUBLISHER GUNTEST_EXE|- MAKE_MSI ARGS...
# (the make-msi.sh call that built MSI, less its output; GUNTEST_EXE the built
# Gun Test when it ships)
# A damaged package installs nothing; the package replaces 1.0.0.1 as that
# shipped, leaving no file of it, and installs the programs, the guide and the
# licence, their shortcuts and the uninstall entry, and each program runs from
# its shortcut; a build that differs only in the fourth field of the version
# replaces it and is replaced by it; a higher version replaces it, a lower one
# is refused; the uninstall removes all of it and keeps the user's settings.
MSI=$1 VERSION=$2 PUBLISHER=$3 GUNTEST_EXE=$4
shift 4
MAKE_MSI=("$@")
[[ $GUNTEST_EXE != - ]] || GUNTEST_EXE=

. "$GLIMMER_SOURCE/tests/wine/own_prefix.sh" msi

[[ -f $MSI ]] || fail "no $MSI (cmake --build . --target msi)"
DRIVE_C=$WINEPREFIX/drive_c
INSTALL_DIR=$DRIVE_C/Program\ Files/Glimmerdot
# Wine 8 puts even a per-machine package's shortcut in the installing user's
# Start menu; Windows puts it in the one all users share.
START_MENUS=("$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs"
  "$DRIVE_C"/users/*/"AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The Start-menu shortcuts named NAME (Glimmerdot unless told), one per line.
shortcuts() {
  local menu name=${1:-Glimmerdot}
  for menu in "${START_MENUS[@]}"; do
    [[ -e $menu/$name.lnk ]] && echo "$menu/$name.lnk"
  done
  return 0
}
GUNTEST_SHORTCUT="Glimmerdot Gun Test"
GUIDE="Glimmerdot Guide.txt"
GUIDE_SHORTCUT="Glimmerdot Guide"

run_msiexec() {
  wine_run 300 msiexec "$1" "$(windows_copy "$2")" /qn
}

# One line per subkey of KEY whose value NAME is "Glimmerdot": the values
# FIELD... joined by "|".
glimmerdot_subkeys() {
  local key=$1 name=$2
  shift 2
  wine_run 60 reg query "$key" /s 2>/dev/null | tr -d '\r' | awk -F '    ' -v name="$name" -v fields="$*" '
    function flush(  i, n, f, line) {
      if (v[name] != "Glimmerdot") return
      n = split(fields, f, " "); line = v[f[1]]
      for (i = 2; i <= n; i++) line = line "|" v[f[i]]
      print line
    }
    /^HKEY_/ { flush(); delete v; next }
    NF >= 4 { v[$2] = $4 }
    END { flush() }'
}

uninstall_entries() {
  glimmerdot_subkeys "$UNINSTALL_KEY" DisplayName DisplayName DisplayVersion Publisher
}

# Nothing of ours on disk or in the uninstall list.
expect_nothing_installed() {
  # shellcheck disable=SC2012 # names for a failure message only
  [[ ! -e $INSTALL_DIR ]] || fail "$1: $INSTALL_DIR holds $(ls "$INSTALL_DIR" | tr '\n' ' ')"
  [[ -z $(shortcuts) ]] || fail "$1: the Start-menu shortcut is still there: $(shortcuts)"
  local name
  for name in "$GUNTEST_SHORTCUT" "$GUIDE_SHORTCUT"; do
    [[ -z $(shortcuts "$name") ]] || fail "$1: a shortcut is still there: $(shortcuts "$name")"
  done
  local entries
  entries=$(uninstall_entries)
  [[ -z $entries ]] || fail "$1: uninstall entry left: $entries"
  wine_run 60 reg query 'HKCU\Software\VEY\Glimmerdot' >/dev/null 2>&1 && fail "$1: the shortcuts' key paths are left"
  return 0
}

# The one installation there is, of VERSION; prints its uninstall entry
# (name|version|publisher).
expect_one_installation() {
  local entries
  entries=$(uninstall_entries)
  expect_eq "$(grep -c . <<<"$entries")" 1 "uninstall entries named Glimmerdot ($2)"
  expect_eq "$(cut -d'|' -f2 <<<"$entries")" "$1" "uninstall entry's version ($2)"
  expect_eq "$(cd "$INSTALL_DIR" && find . -mindepth 1 -printf '%P\n' | sort)" "$expected_files" "installed files ($2)"
  cmp -s "$INSTALL_DIR/Glimmerdot.exe" "$APP_EXE" || fail "$2: the installed exe is not the built one"
  expect_eq "$(shortcuts | grep -c .)" 1 "Start-menu shortcuts ($2)"
  expect_eq "$(shortcuts "$GUIDE_SHORTCUT" | grep -c .)" 1 "the guide's Start-menu shortcuts ($2)"
  if [[ -n $GUNTEST_EXE ]]; then
    cmp -s "$INSTALL_DIR/GunTest.exe" "$GUNTEST_EXE" || fail "$2: the installed GunTest.exe is not the built one"
    expect_eq "$(shortcuts "$GUNTEST_SHORTCUT" | grep -c .)" 1 "Gun Test's Start-menu shortcuts ($2)"
  fi
  echo "$entries"
}

expected_files=$(printf '%s\n' Glimmerdot.exe "$GUIDE" LICENSE.txt ${GUNTEST_EXE:+GunTest.exe} | sort)
IFS=. read -r major minor build revision <<<"$VERSION"
# Windows Installer compares only three fields: the higher version raises the third.
HIGHER=$major.$minor.$((build + 1)).0
FOURTH=$major.$minor.$build.$((${revision:-0} + 1))
# 1.0.0.1 as it shipped, from a source tree that holds its package source.
SHIPPED=1.0.0.1
mkdir -p "$TEST_OUT/shipped/packaging"
cp "$GLIMMER_SOURCE/tests/wine/glimmerdot-$SHIPPED.wxs" "$TEST_OUT/shipped/packaging/glimmerdot.wxs"
ln -sfn "$GLIMMER_SOURCE/README.md" "$GLIMMER_SOURCE/LICENSE" "$GLIMMER_SOURCE/res" "$TEST_OUT/shipped/"
# make_package VERSION NAME [OPTION...]: $TEST_OUT/NAME.msi.
make_package() {
  local version=$1 name=$2
  shift 2
  "${MAKE_MSI[@]}" "$@" --version "$version" "$TEST_OUT/$name.msi" >"$TEST_OUT/make-msi.log" 2>&1 ||
    fail "could not build version $version: $(cat "$TEST_OUT/make-msi.log")"
}
make_package "$HIGHER" higher
make_package "$FOURTH" fourth
make_package "$SHIPPED" shipped --source "$TEST_OUT/shipped"
head -c $(($(stat -c %s "$MSI") / 2)) "$MSI" >"$TEST_OUT/damaged.msi"

# ---- A damaged package fails and installs nothing.
run_msiexec /i "$TEST_OUT/damaged.msi" && fail "installing a truncated package succeeded"
expect_nothing_installed "after the damaged package"

# ---- Installed over 1.0.0.1 as it shipped: the files, the shortcuts, the
# uninstall entry and nothing of the old one; settings untouched.
settings_seed 03020400
run_msiexec /i "$TEST_OUT/shipped.msi" || fail "installing $SHIPPED as it shipped failed"
[[ -e $INSTALL_DIR/LICENSE ]] || fail "$SHIPPED as it shipped installed no LICENSE"
run_msiexec /i "$MSI" || fail "installing $MSI over $SHIPPED as it shipped failed"
cmp -s "$INSTALL_DIR/LICENSE.txt" "$GLIMMER_SOURCE/LICENSE" || fail "LICENSE.txt is not installed as LICENSE is in the source"
python3 "$GLIMMER_SOURCE/tests/release/check-guide.py" "$INSTALL_DIR/$GUIDE" "$GLIMMER_SOURCE" "$VERSION" ||
  fail "the installed guide"
entry=$(expect_one_installation "$VERSION" "installed over $SHIPPED as it shipped") || exit 1
IFS='|' read -r _ _ publisher <<<"$entry"
expect_eq "$publisher" "$PUBLISHER" "uninstall entry's publisher"
# The uninstall list shows the icon the installer registers with the product.
icon=$(glimmerdot_subkeys 'HKLM\Software\Classes\Installer\Products' ProductName ProductIcon)
icon_file=$DRIVE_C/${icon#[Cc]:\\}
icon_file=${icon_file//\\//}
cmp -s "$icon_file" "$GLIMMER_SOURCE/res/glimmerdot.ico" || fail "the product's icon '$icon' is not the program's icon"
expect_eq "$(settings_block)" 03020400 "settings after installing"

# ---- The shortcut starts the installed exe, whose window shows; Cancel ends it.
app_start start /unix "$(shortcuts)"
expect_eq "$(field "$(inspect window)" image)" '"C:\\Program Files\\Glimmerdot\\Glimmerdot.exe"' "program the shortcut started"
app_ended click 2
if [[ -n $GUNTEST_EXE ]]; then
  wine start /unix "$(shortcuts "$GUNTEST_SHORTCUT")" </dev/null >>"$TEST_OUT/app.log" 2>&1 &
  window=$(inspect --caption '"Glimmerdot Gun Test"' --timeout 90000 wait visible 1 90000 + window)
  expect_eq "$(field "$window" image)" '"C:\\Program Files\\Glimmerdot\\GunTest.exe"' \
    "program Gun Test's shortcut started"
  inspect --caption '"Glimmerdot Gun Test"' close + waitexit 30000 >/dev/null
fi
# The guide's shortcut opens the installed guide with whatever opens text files:
# here a copy of the inspector that notes the file it is given.
cp "$GLIMMER_STAGE/inspector.exe" "$DRIVE_C/guidenote.exe" || fail "copying the inspector as the text viewer"
{ wine_run 60 reg add 'HKCR\.txt' /ve /f /d txtfile >/dev/null &&
  wine_run 60 reg add 'HKCR\txtfile\shell\open\command' /ve /f /d '"C:\guidenote.exe" note "C:\guide.log" %1' \
    >/dev/null; } || fail "registering the text viewer"
wine start /unix "$(shortcuts "$GUIDE_SHORTCUT")" </dev/null >>"$TEST_OUT/app.log" 2>&1 &
# shellcheck disable=SC2317 # called by name through wait_for
guide_opened() { [[ -s $DRIVE_C/guide.log ]]; }
wait_for guide_opened 90 || fail "the guide's shortcut opened nothing"
expect_eq "$(tr -d '\r' <"$DRIVE_C/guide.log")" 'C:\Program Files\Glimmerdot\Glimmerdot Guide.txt' \
  "file the guide's shortcut opened"

# ---- Only the fourth field apart: each replaces the other, whichever is higher.
run_msiexec /i "$TEST_OUT/fourth.msi" || fail "installing $FOURTH over $VERSION failed"
expect_one_installation "$FOURTH" "$FOURTH over $VERSION" >/dev/null
run_msiexec /i "$MSI" || fail "installing $VERSION over $FOURTH failed"
expect_one_installation "$VERSION" "$VERSION over $FOURTH" >/dev/null

# ---- A higher version replaces it; the lower one is then refused.
run_msiexec /i "$TEST_OUT/higher.msi" || fail "installing version $HIGHER over $VERSION failed"
expect_one_installation "$HIGHER" "after the upgrade" >/dev/null
run_msiexec /i "$MSI" && fail "installing $VERSION over $HIGHER succeeded"
expect_one_installation "$HIGHER" "after the refused downgrade" >/dev/null

# ---- Uninstalled: nothing of ours is left but the user's settings.
run_msiexec /x "$TEST_OUT/higher.msi" || fail "uninstalling failed"
expect_nothing_installed "after the uninstall"
left=$(find "$DRIVE_C/windows/Installer" -iname glimmerdot.ico -o -iname '*.msi' 2>/dev/null)
[[ -z $left ]] || fail "the installer's copies are still there: $left"
expect_eq "$(settings_block)" 03020400 "settings after the uninstall"

pass "damaged package refused, install over $SHIPPED as it shipped, the guide, start from the shortcuts${GUNTEST_EXE:+ (Gun Test too)}, $FOURTH and back, upgrade, downgrade refused, uninstall"
