#!/usr/bin/env bash
# The Debian package's size as a player pays it, for bench/against_bare_window.sh's table:
#   - installed size (the package's Installed-Size), goal at most 22 MB;
#   - what its dependencies add: the installed size of every package it depends on, directly or
#     through others, that a minimal Debian system (priority required or important) does not
#     have already; counted from the packages installed on this machine.
# Builds the package from the build folder into a folder of its own (the build's is untouched).
#   bench/package_size.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/*.deb)
kib=$(dpkg-deb --field "$deb" Installed-Size)
direct=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g')
# shellcheck disable=SC2086
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
  --no-replaces --no-enhances --no-pre-depends $direct 2>/dev/null | grep -v '^ ' | sort -u)
added=0
for pkg in $closure; do
  line=$(dpkg-query -W -f='${Status} ${Priority} ${Installed-Size}\n' "$pkg" 2>/dev/null | head -1) ||
    continue
  case "$line" in
  "install ok installed required"* | "install ok installed important"*) ;;
  "install ok installed"*) added=$((added + ${line##* })) ;;
  esac
done
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k * 1024 / 1e6 }'; }
echo "installed size of the package|$(mb "$kib")|-|MB|game<=22"
echo "  what its dependencies add to a minimal Debian|$(mb "$added")|-|MB|"
