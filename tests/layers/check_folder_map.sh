#!/usr/bin/env bash
# The folder map, checked: dependencies point one way (app -> windows -> shell -> screen ->
# engine, platform), each folder includes only its own headers and those of the folders below
# it, its library links exactly the libraries of the folders it includes, and the engine includes
# nothing of Qt. Prints every breach and fails when there is one.
set -euo pipefail
root="${1:-$(dirname "$0")/../..}"
cd "$root"

declare -A may_use=(
  [engine]=""
  [platform]=""
  [screen]="engine platform"
  [shell]="engine platform screen"
  [windows]="engine platform screen shell"
  [app]="engine platform screen shell windows"
)
folders="${!may_use[*]}"
breaches=0

for folder in $folders; do
  used=$(grep -rhoE '^#include "[a-z_]+/' "$folder" --include='*.cpp' --include='*.h' |
    sed -E 's/^#include "//; s/\/$//' | sort -u | grep -vx "$folder" || true)
  for dep in $used; do
    case " ${may_use[$folder]} " in
      *" $dep "*) ;;
      *)
        echo "$folder/ includes $dep/ headers, which it may not use:"
        grep -rnE "^#include \"$dep/" "$folder" --include='*.cpp' --include='*.h' | sed 's/^/  /'
        breaches=$((breaches + 1))
        ;;
    esac
  done
  # The libraries of the map's folders that the folder's own library links.
  linked=$(tr '\n' ' ' <"$folder/CMakeLists.txt" |
    grep -oE "target_link_libraries\(zelmar_$folder [^)]*\)" |
    grep -oE 'zelmar_[a-z_]+' | sed 's/^zelmar_//' | sort -u |
    grep -xE "$(echo "$folders" | tr ' ' '|')" | grep -vx "$folder" || true)
  if [ "$(echo $used)" != "$(echo $linked)" ]; then
    echo "zelmar_$folder links [$(echo $linked)] but its sources include [$(echo $used)]"
    breaches=$((breaches + 1))
  fi
done

# A quoted include is looked up beside the including file first, so "../shell/x.h" would reach
# any folder whatever the library links: no source of the map's folders climbs out of its folder.
if grep -rnE '^#include "[^"]*\.\./' $folders --include='*.cpp' --include='*.h'; then
  echo "includes above climb out of their folder; name the folder instead (\"shell/x.h\")"
  breaches=$((breaches + 1))
fi

if grep -rnE '^#include <Q' engine --include='*.cpp' --include='*.h'; then
  echo "engine/ includes Qt headers (above); the rules are plain C++"
  breaches=$((breaches + 1))
fi

if [ "$breaches" -gt 0 ]; then
  echo "$breaches breach(es) of the folder map"
  exit 1
fi
echo "the folder map holds"
