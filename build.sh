#!/usr/bin/env bash
# Installs what is missing (Debian/Ubuntu), builds, then plays or tests.
#   ./build.sh play   build and start the game
#   ./build.sh test   build and run the whole test suite
#   ./build.sh deb    build the Debian package and install it
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick weston qt6-wayland faketime
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0 dbus
  openbox x11-session-utils x11-xserver-utils x11-utils
  fonts-liberation fonts-noto-color-emoji fonts-dejavu-core
  qt6-svg-dev desktop-file-utils appstream man-db dpkg-dev file
  clang-format clang libclang-rt-14-dev
  libsdl2-mixer-dev libfluidsynth-dev libvorbis-dev fluid-soundfont-gm libxcb1-dev libfontconfig-dev
  pipewire pipewire-bin wireplumber pipewire-pulse pulseaudio-utils dbus-daemon
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

build() {
  cmake --preset default
  cmake --build --preset default
}

case "${1:-play}" in
  play)
    install_missing
    build
    exec ./build/zelmar-slots
    ;;
  test)
    install_missing
    build
    ctest --preset default --output-on-failure -j2
    ;;
  deb)
    install_missing
    build
    rm -f build/zelmar-slots_*.deb
    (cd build && cpack -G DEB)
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
      ./build/zelmar-slots_*.deb
    ;;
  *)
    echo "usage: $0 [play|test|deb]" >&2
    exit 2
    ;;
esac
