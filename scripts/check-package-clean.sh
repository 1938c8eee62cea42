#!/usr/bin/env bash
# check-package.sh --clean-machine: the Debian package on a machine that has
# nothing but a minimal Debian 12. debootstrap makes that machine in a
# temporary folder; apt-get installs the package there without recommended
# packages, so its Depends alone must bring every library; the programs then
# run in it as an ordinary user, the window program on an X server of this
# machine whose socket is lent to the tree. Root only.
#
#   check-package-clean.sh PACKAGE.deb EXPECTED_STRING_1
set -euo pipefail

deb=${1:?usage: check-package-clean.sh PACKAGE.deb EXPECTED_STRING_1}
expected=${2:?usage: check-package-clean.sh PACKAGE.deb EXPECTED_STRING_1}
if [ "$(id -u)" -ne 0 ]; then
  echo "check-package: --clean-machine needs root (debootstrap, chroot, mount)" >&2
  exit 1
fi
for tool in debootstrap:debootstrap Xvfb:xvfb xdotool:xdotool; do
  command -v "${tool%%:*}" >/dev/null || {
    echo "check-package: --clean-machine needs ${tool%%:*} (apt-get install ${tool#*:})" >&2
    exit 1
  }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-clean-XXXXXX")
tree=$work/root
xvfb_pid=
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  for mounted in "$tree/tmp/.X11-unix" "$tree/proc"; do
    if mountpoint -q "$mounted"; then
      umount "$mounted" || umount -l "$mounted"
    fi
  done
  # Only a tree with nothing of this machine's mounted in it is removed.
  if ! grep -q " $work/" /proc/mounts; then
    rm -rf "$work"
  else
    echo "check-package: $work is still mounted somewhere; left in place" >&2
  fi
}
trap cleanup EXIT

in_tree() {
  chroot "$tree" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 "$@"
}

echo "== debootstrap --variant=minbase bookworm"
debootstrap --variant=minbase bookworm "$tree" >"$work/debootstrap.log" 2>&1 || {
  tail -20 "$work/debootstrap.log" >&2
  exit 1
}
mount -t proc proc "$tree/proc"
cp "$deb" "$tree/tmp/"
name=$(basename "$deb")

echo "== apt-get install -y --no-install-recommends ./$name (in the clean tree)"
in_tree apt-get update -q >"$work/update.log" 2>&1 || {
  cat "$work/update.log" >&2
  exit 1
}
in_tree sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ./$name" \
  >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  exit 1
}
grep -E "^(The following NEW packages|[0-9]+ upgraded)" "$work/install.log" || true

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Every library the programs and Qt's X11 platform plugin load is there.
for binary in /usr/bin/letterwell /usr/bin/letterwell-cli \
  /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so; do
  if ! in_tree ldd "$binary" >"$work/ldd.log" 2>&1 || grep -q "not found" "$work/ldd.log"; then
    fail "ldd $binary: $(grep "not found" "$work/ldd.log" || head -3 "$work/ldd.log")"
  fi
done

# An ordinary user's throw-away home inside the tree.
mkdir -p "$tree/tmp/user/home" "$tree/tmp/user/runtime"
chmod 700 "$tree/tmp/user/runtime"
chown -R nobody "$tree/tmp/user"
as_user() {
  chroot --userspec=nobody:nogroup "$tree" env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8 \
    HOME=/tmp/user/home XDG_CONFIG_HOME=/tmp/user/home/.config \
    XDG_DATA_HOME=/tmp/user/home/.local/share XDG_CACHE_HOME=/tmp/user/home/.cache \
    XDG_RUNTIME_DIR=/tmp/user/runtime "$@"
}

echo "== letterwell-cli families | head"
as_user letterwell-cli families >"$work/families" 2>"$work/families.log" ||
  fail "letterwell-cli families exited $?: $(cat "$work/families.log")"
head "$work/families"
[ -s "$work/families" ] || fail "letterwell-cli families listed no family"

echo "== letterwell-cli string --language 1 1"
output=$(as_user letterwell-cli string --language 1 1) || fail "letterwell-cli string exited $?"
echo "$output"
[ "$output" = "$expected" ] || fail "letterwell-cli string printed \"$output\", not \"$expected\""

echo "== timeout 5 letterwell (on an X server of this machine)"
mkdir -p "$tree/tmp/.X11-unix"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display=$(cat "$work/display")
[ -n "$display" ] || {
  cat "$work/xvfb.log" >&2
  exit 1
}
mount --bind /tmp/.X11-unix "$tree/tmp/.X11-unix"
as_user env DISPLAY=":$display" timeout 5 letterwell >"$work/gui.log" 2>&1 &
gui=$!
shown=false
for _ in $(seq 1 40); do
  if DISPLAY=":$display" xdotool search --onlyvisible --class letterwell >/dev/null 2>&1; then
    shown=true
    break
  fi
  sleep 0.1
done
status=0
wait "$gui" || status=$?
echo "window shown: $shown, status $status"
$shown || fail "letterwell showed no window within 4 s"
[ "$status" -eq 124 ] || fail "letterwell ended with status $status before it was stopped: $(cat "$work/gui.log")"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "package checked on a clean Debian 12: $name"
