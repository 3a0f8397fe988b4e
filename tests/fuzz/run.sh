#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each on its committed seed corpus.
#   tests/fuzz/run.sh [seconds-per-target] [target...]
# New inputs found go to a scratch folder, never into the committed corpus.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-30}
shift || true
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  -DZELMAR_FUZZ=ON -DZELMAR_BUILD_TESTS=OFF -DZELMAR_BUILD_BENCHMARKS=OFF -DZELMAR_BUILD_TOOLS=OFF \
  >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(cd tests/fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi
cmake --build build-fuzz --target "${targets[@]}"
for t in "${targets[@]}"; do
  corpus=tests/fuzz/corpus/${t#fuzz_}
  scratch=$(mktemp -d)
  echo "== $t for ${seconds}s on $corpus"
  status=0
  QT_QPA_PLATFORM=offscreen build-fuzz/"$t" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "$scratch" "$corpus" >"$scratch.log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' "$scratch.log" || true
  [ "$status" -eq 0 ] || tail -40 "$scratch.log" >&2
  rm -rf "$scratch" "$scratch.log"
  if [ "$status" -ne 0 ]; then
    echo "$t found a failure (exit $status)" >&2
    exit 1
  fi
done
