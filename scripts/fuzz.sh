#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer and UBSan on) and runs
# each for the given number of seconds, starting from the seed corpus that the unit tests write.
# Fails when a target finds a crash. Everything stays under build/fuzz.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build/fuzz
targets=(bmp_reader dib_reader render_info_trailer info_reader wav_reader)
# The core files the readers need; each target links them all.
core=(
  src/image/bmp_layout.cpp src/image/bmp_reader.cpp src/image/bmp_rle.cpp
  src/image/pixel_image.cpp
  src/render/render_info.cpp src/render/render_info_bytes.cpp
  src/document/render_info_reader.cpp src/document/render_info_writer.cpp
  src/document/render_info_trailer.cpp
  src/base/file_io.cpp
  src/analysis/wav_reader.cpp
)
flags=(-std=c++20 -O1 -g -Isrc -ffp-contract=off -Wall -Wextra -Werror
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
mkdir -p "$out/obj" "$out/bin"

# Rebuild when any source or header is newer than the last build.
stamp=$out/obj/.built
if [ ! -f "$stamp" ] || [ -n "$(find src tests/fuzz scripts/fuzz.sh -newer "$stamp" -print -quit)" ]; then
  echo "== build fuzz targets"
  objs=()
  for src in "${core[@]}"; do
    obj=$out/obj/$(echo "$src" | tr / _).o
    clang++ "${flags[@]/-fsanitize=fuzzer,/-fsanitize=fuzzer-no-link,}" -c "$src" -o "$obj"
    objs+=("$obj")
  done
  for t in "${targets[@]}"; do
    clang++ "${flags[@]}" "tests/fuzz/fuzz_$t.cpp" "${objs[@]}" -o "$out/bin/fuzz_$t"
  done
  touch "$stamp"
fi

# The seed corpus is written by the unit tests of the native build.
if [ ! -x build/native/bin/unit_tests ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native -j2 --target unit_tests
fi
LUMETRA_FUZZ_CORPUS=$PWD/$out/seeds build/native/bin/unit_tests --gtest_filter='FuzzSeeds.*' >/dev/null

status=0
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t" "$out/artifacts/$t" "$out/logs"
  log=$out/logs/$t.log
  echo "== fuzz $t for ${seconds}s"
  if "$out/bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="$out/artifacts/$t/" -print_final_stats=1 \
      "$out/corpus/$t" "$out/seeds/$t" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$log" | tr '\n' ' '
    echo
  else
    echo "fuzz target $t failed; its log ($log) ends:"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status
