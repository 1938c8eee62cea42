#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those
# that are missing, so a second run costs a dpkg query and nothing more.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  libfontconfig-dev libfreetype-dev libharfbuzz-dev fontconfig
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  fonts-dejavu-core fonts-inter-variable python3-fonttools
  fonts-noto-cjk fonts-urw-base35 t1-cyrillic t1utils
  xvfb xauth poppler-utils unrtf
  openbox xdotool wmctrl x11-utils imagemagick
  desktop-file-utils appstream groff-base dpkg-dev bash-completion
  qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
