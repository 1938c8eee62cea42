#!/usr/bin/env bash
# Installs the Debian package that `make package` made, with apt-get as a
# user would, runs the installed programs from /usr in a throw-away home, and
# removes the package again. Needs root (or sudo), and refuses to run where
# letterwell is installed already, so it never removes what it did not put
# there.
#
# With --clean-machine the package goes instead into a minimal Debian 12
# made for the purpose with debootstrap (root only; it downloads about 200
# MB): there nothing the build installed can stand in for a missing
# dependency. The tree is thrown away afterwards.
#
#   bash scripts/check-package.sh [--clean-machine] [PACKAGE.deb]
set -euo pipefail
cd "$(dirname "$0")/.."

clean_machine=false
if [ "${1:-}" = "--clean-machine" ]; then
  clean_machine=true
  shift
fi
deb=${1:-}
if [ -z "$deb" ]; then
  shopt -s nullglob
  debs=(build-package/letterwell_*.deb)
  if [ ${#debs[@]} -ne 1 ]; then
    echo "check-package: expected one build-package/letterwell_*.deb (make package), found ${#debs[@]}" >&2
    exit 1
  fi
  deb=${debs[0]}
fi
deb=$(realpath "$deb")
# What the second language's string 1 must read.
expected=$(sed -n 's/^1\t//p' resources/strings/strings-1.txt)

# What a distribution checks first: lintian must find no error and no
# warning. Its notes (I:) are printed and left to the reader. It is run as
# an ordinary user, as it asks to be.
if command -v lintian >/dev/null; then
  lint_root=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-lint-XXXXXX")
  cp "$deb" "$lint_root/" && chmod 755 "$lint_root" && chmod 644 "$lint_root"/*.deb
  lint_user=()
  if [ "$(id -u)" -eq 0 ]; then
    lint_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups -- env HOME="$lint_root")
  fi
  echo "== lintian $(basename "$deb")"
  lint=$("${lint_user[@]}" lintian --display-info "$lint_root"/*.deb 2>&1) || true
  rm -rf "$lint_root"
  echo "$lint"
  if grep -q '^[EW]: ' <<<"$lint"; then
    echo "check-package: lintian found errors or warnings" >&2
    exit 1
  fi
else
  echo "check-package: lintian is not installed (apt-get install lintian); the package was not linted" >&2
fi

if $clean_machine; then
  exec bash scripts/check-package-clean.sh "$deb" "$expected"
fi

if dpkg-query -W -f='${Status}' letterwell 2>/dev/null | grep -q "install ok installed"; then
  echo "check-package: letterwell is installed already; remove it first" >&2
  exit 1
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

root=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-package-XXXXXX")
remove() {
  echo "== apt-get remove -y letterwell"
  "${sudo_cmd[@]}" apt-get remove -y -q letterwell || true
  rm -rf "$root"
}
trap remove EXIT

echo "== apt-get install -y $deb"
"${sudo_cmd[@]}" apt-get install -y -q "$deb"

export HOME=$root/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$root/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The programs run as an ordinary user would run them. Root could write in
# /usr/bin, where the program would then keep its categories.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$root"
  chown -R nobody "$HOME" "$XDG_RUNTIME_DIR"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi

cd "$HOME"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for file in /usr/bin/letterwell /usr/bin/letterwell-cli /usr/share/letterwell/lw_esp.lwb \
  /usr/share/letterwell/lw_eng.lwb /usr/share/letterwell/ReadMe.txt \
  /usr/share/doc/letterwell/copyright /usr/share/doc/letterwell/changelog.gz \
  /usr/share/bash-completion/completions/letterwell-cli /usr/share/man/man1/letterwell.1.gz \
  /usr/share/applications/com.kestrova.Letterwell.desktop \
  /usr/share/metainfo/com.kestrova.Letterwell.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/letterwell.svg \
  /usr/share/icons/hicolor/48x48/apps/letterwell.png \
  /usr/share/man/man1/letterwell-cli.1.gz; do
  [ -f "$file" ] || fail "the package did not install $file"
done

echo "== letterwell-cli families | head"
"${as_user[@]}" letterwell-cli families >"$root/families" || fail "letterwell-cli families exited $?"
head "$root/families"
[ -s "$root/families" ] || fail "letterwell-cli families listed no family"

echo "== letterwell-cli string --language 1 1"
output=$("${as_user[@]}" letterwell-cli string --language 1 1) || fail "letterwell-cli string exited $?"
echo "$output"
[ "$output" = "$expected" ] || fail "letterwell-cli string printed \"$output\", not \"$expected\""

echo "== xvfb-run -a timeout 5 letterwell"
status=0
"${as_user[@]}" xvfb-run -a timeout 5 letterwell || status=$?
echo "status $status"
[ "$status" -eq 124 ] || fail "letterwell ended with status $status before it was stopped"
[ ! -e /usr/bin/Categories ] || fail "the program made /usr/bin/Categories"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "package checked: $(basename "$deb")"
