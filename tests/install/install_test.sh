#!/usr/bin/env bash
# Installs a build into a throw-away prefix, as `cmake --install` does for a
# user, and looks at the result as a desktop does: every file where the
# freedesktop conventions look for it and nothing else, the desktop entry and
# the metainfo accepted by their validators, the manual covering every
# command the usage names, and the installed programs running from the
# prefix alone, the CLI finding its language bundle in share/letterwell.
#
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=${1:?usage: install_test.sh BUILD_DIR SOURCE_DIR}
source=${2:?usage: install_test.sh BUILD_DIR SOURCE_DIR}
root=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-install-XXXXXX")
trap 'rm -rf "$root"' EXIT
prefix=$root/prefix
app_id=com.kestrova.Letterwell
icon_sizes=(16 32 48 64 128 256)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$root/install.log" 2>&1; then
  cat "$root/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

# Where each file belongs.
expected=(
  bin/letterwell
  bin/letterwell-cli
  share/letterwell/lw_esp.lwb
  share/letterwell/lw_eng.lwb
  share/letterwell/Procitaj.txt
  share/letterwell/Leeme.txt
  share/letterwell/ReadMe.txt
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  share/icons/hicolor/scalable/apps/letterwell.svg
  share/man/man1/letterwell.1.gz
  share/man/man1/letterwell-cli.1.gz
  share/bash-completion/completions/letterwell-cli
  share/doc/letterwell/copyright
  share/doc/letterwell/changelog.gz
)
for size in "${icon_sizes[@]}"; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/letterwell.png")
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for program in bin/letterwell bin/letterwell-cli; do
  [ -x "$prefix/$program" ] || fail "$program cannot be run"
done

# Nothing more: no test programs, no build tools, and above all no bundle
# beside the installed executables, which would hide a failed lookup below.
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$root/installed"
printf '%s\n' "${expected[@]}" | LC_ALL=C sort >"$root/expected"
unexpected=$(LC_ALL=C comm -23 "$root/installed" "$root/expected")
[ -z "$unexpected" ] || fail "installed but not expected: $unexpected"

# Each PNG is a PNG of the size its folder promises.
for size in "${icon_sizes[@]}"; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/letterwell.png
  [ -f "$png" ] || continue
  signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
  [ "$signature" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  dimensions=$(od -An -tu1 -j16 -N8 "$png" |
    awk '{ printf "%dx%d", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8 }')
  [ "$dimensions" = "${size}x${size}" ] || fail "$png is $dimensions, not ${size}x${size}"
done

# The validators, which report hints and warnings as well as errors: the
# desktop entry must draw no remark at all.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [ -f "$desktop" ]; then
  if ! desktop-file-validate "$desktop" >"$root/desktop.log" 2>&1 || [ -s "$root/desktop.log" ]; then
    fail "desktop-file-validate: $(cat "$root/desktop.log")"
  fi
  # The entry names what the prefix holds.
  grep -qx "Exec=letterwell" "$desktop" || fail "the desktop entry does not start letterwell"
  grep -qx "Icon=letterwell" "$desktop" || fail "the desktop entry does not name the letterwell icon"
fi
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >"$root/metainfo.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$root/metainfo.log")"
  grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"
fi

# One version, the project's, in the metainfo, the manuals and the changelog.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "the build names no project version"
if [ -f "$metainfo" ]; then
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
fi
for page in letterwell letterwell-cli; do
  gz=$prefix/share/man/man1/$page.1.gz
  [ -f "$gz" ] || continue
  zcat "$gz" | head -1 | grep -q "\"Letterwell $version\"" || fail "$page.1 is not for Letterwell $version"
done
changelog=$prefix/share/doc/letterwell/changelog.gz
if [ -f "$changelog" ]; then
  zcat "$changelog" | head -1 | grep -q "^letterwell ($version) " || fail "the changelog does not start at $version"
fi

# A throw-away home with DejaVu as the only system fonts, so the programs
# below touch nothing of the real user's and their list is known.
export HOME=$root/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$root/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cat >"$root/fonts.conf" <<EOF
<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <dir>$XDG_DATA_HOME/fonts</dir>
  <cachedir>$XDG_CACHE_HOME/fontconfig</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE=$root/fonts.conf
cli=$prefix/bin/letterwell-cli

# The manual: groff finds nothing to warn about, and every command and
# option of the usage is in it.
manual=$prefix/share/man/man1/letterwell-cli.1.gz
if [ -f "$prefix/share/man/man1/letterwell.1.gz" ]; then
  zcat "$prefix/share/man/man1/letterwell.1.gz" | groff -man -Tascii -ww >/dev/null 2>"$root/manual.log" ||
    fail "groff could not set the manual of letterwell"
  [ ! -s "$root/manual.log" ] || fail "groff warns about letterwell.1: $(cat "$root/manual.log")"
fi
if [ -f "$manual" ]; then
  zcat "$manual" | groff -man -Tascii -P-cbou -rLL=200n -ww >"$root/manual.txt" 2>"$root/manual.log" ||
    fail "groff could not set the manual"
  [ ! -s "$root/manual.log" ] || fail "groff warns about the manual: $(cat "$root/manual.log")"
  status=0
  "$cli" >/dev/null 2>"$root/usage.txt" || status=$?
  [ "$status" -eq 2 ] || fail "letterwell-cli without a command exited $status, not 2"
  grep -q "letterwell-cli families" "$root/usage.txt" || fail "letterwell-cli printed no usage"
  "$cli" --help >"$root/help.txt" || fail "letterwell-cli --help exited $?"
  cmp -s "$root/help.txt" "$root/usage.txt" || fail "letterwell-cli --help does not print the usage"
  # "letterwell-cli category show NAME" is the command "category show".
  sed -n 's/^.*letterwell-cli \([a-z][a-z ]*[a-z]\)\( .*\)\{0,1\}$/\1/p' "$root/usage.txt" |
    sort -u >"$root/commands"
  [ "$(wc -l <"$root/commands")" -ge 10 ] || fail "the usage's commands were not read: $(cat "$root/commands")"
  while read -r command; do
    grep -q "letterwell-cli $command\b" "$root/manual.txt" || fail "the manual's synopsis lacks \"$command\""
    grep -qE "^ +$command\b" "$root/manual.txt" || fail "the manual does not describe \"$command\""
  done <"$root/commands"
  grep -o -- '--[a-z]*' "$root/usage.txt" | sort -u >"$root/options"
  while read -r option; do
    grep -q -- "$option\b" "$root/manual.txt" || fail "the manual lacks $option"
  done <"$root/options"
fi

# The installed CLI reads the second language from share/letterwell: the
# prefix's bin folder holds no bundle (checked above) and the build tree is
# out of its reach.
second=$(sed -n 's/^1\t//p' "$source/resources/strings/strings-1.txt")
first=$(sed -n 's/^1\t//p' "$source/resources/strings/strings-0.txt")
if [ -z "$second" ] || [ "$second" = "$first" ]; then
  fail "string 1 is not told apart by language"
fi
output=$("$cli" string --language 1 1 2>"$root/string.log") || fail "letterwell-cli string exited $?"
[ "$output" = "$second" ] || fail "the installed letterwell-cli printed \"$output\", not \"$second\""
[ ! -s "$root/string.log" ] || fail "letterwell-cli string complained: $(cat "$root/string.log")"
# Without the installed bundle the same command falls back and says so:
# what passed above came from share/letterwell.
if [ -f "$prefix/share/letterwell/lw_esp.lwb" ]; then
  mv "$prefix/share/letterwell/lw_esp.lwb" "$root/lw_esp.lwb"
  output=$("$cli" string --language 1 1 2>"$root/string.log") || true
  [ "$output" = "$first" ] || fail "without its bundle letterwell-cli printed \"$output\", not \"$first\""
  grep -q "Error loading DLL" "$root/string.log" || fail "a missing bundle went untold"
  mv "$root/lw_esp.lwb" "$prefix/share/letterwell/lw_esp.lwb"
fi

# English unless asked otherwise, from its own bundle; a leading --language
# chooses another for any command.
english=$(sed -n 's/^1\t//p' "$source/resources/strings/strings-2.txt")
[ -n "$english" ] && [ "$english" != "$first" ] || fail "string 1 has no English text of its own"
output=$("$cli" string 1 2>&1) || fail "letterwell-cli string exited $?"
[ "$output" = "$english" ] || fail "letterwell-cli string printed \"$output\", not \"$english\""
output=$("$cli" --language 0 string 1 2>&1) || fail "letterwell-cli --language 0 string exited $?"
[ "$output" = "$first" ] || fail "letterwell-cli --language 0 string printed \"$output\", not \"$first\""
# Without the English bundle the default quietly becomes the built-in
# language; asking for English by number still tells of the missing bundle.
if [ -f "$prefix/share/letterwell/lw_eng.lwb" ]; then
  mv "$prefix/share/letterwell/lw_eng.lwb" "$root/lw_eng.lwb"
  output=$("$cli" string 1 2>&1) || fail "letterwell-cli string without lw_eng.lwb exited $?"
  [ "$output" = "$first" ] || fail "without lw_eng.lwb letterwell-cli printed \"$output\", not \"$first\""
  output=$("$cli" --language 2 string 1 2>&1) || true
  grep -q "Error loading DLL" <<<"$output" || fail "a missing English bundle asked for went untold: $output"
  mv "$root/lw_eng.lwb" "$prefix/share/letterwell/lw_eng.lwb"
fi

"$cli" families >"$root/families" 2>"$root/families.log" || fail "letterwell-cli families exited $?"
grep -qx "DejaVu Sans" "$root/families" ||
  fail "letterwell-cli families did not list DejaVu Sans: $(head -5 "$root/families") $(cat "$root/families.log")"

# The shell completes the commands, the options and the installed families,
# asking the installed program for the names.
completion=$prefix/share/bash-completion/completions/letterwell-cli
if [ -f /usr/share/bash-completion/bash_completion ] && [ -f "$completion" ]; then
  # The completions of a command line given as words, the last one being typed.
  completions() {
    bash -c 'source /usr/share/bash-completion/bash_completion
      source "$1"
      shift
      COMP_WORDS=("$@")
      COMP_CWORD=$(($# - 1))
      COMP_LINE="$*"
      COMP_POINT=${#COMP_LINE}
      _letterwell_cli
      printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@"
  }
  # Each offer is taken whole before it is searched: grep -q would stop
  # reading early, and pipefail would count that as a failure.
  offers() { completions "$cli" "$@"; }
  grep -qx styles <<<"$(offers sty)" || fail "completion: no styles for sty: $(offers sty)"
  grep -qx print <<<"$(offers --language 2 pri)" || fail "completion: no print after --language 2"
  grep -qx -- --language <<<"$(offers --)" || fail "completion: no --language: $(offers --)"
  grep -qx -- --range <<<"$(offers print --ra)" || fail "completion: no --range for print"
  grep -qx odd <<<"$(offers print --range "")" || fail "completion: no odd range"
  grep -qx -- --details <<<"$(offers info --de)" || fail "completion: no --details for info"
  found=$(offers styles DejaVu)
  grep -qx 'DejaVu\\ Sans' <<<"$found" || fail "completion: the families were not offered: $found"
  grep -q 'Serif' <<<"$(offers category add Work DejaVu)" || fail "completion: no families for category add"
else
  fail "bash completion could not be tried (is bash-completion installed?)"
fi

# The installed window program starts and keeps running until stopped.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/letterwell" >"$root/gui.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed letterwell ended with status $status: $(cat "$root/gui.log")"
# Its folder holds every program's executables: nothing of its own goes there,
# even when it may write there (root).
"$cli" categories >/dev/null 2>&1 || true
[ ! -e "$prefix/bin/Categories" ] || fail "the installed program made $prefix/bin/Categories"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "installed tree checked: ${#expected[@]} files"
