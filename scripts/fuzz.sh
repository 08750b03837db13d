#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer and UBSan on) and runs
# them from the seed corpus that the unit tests write. Fails when a target finds anything.
# Everything stays under build/fuzz.
#
# Usage: scripts/fuzz.sh [SECONDS]       every target for SECONDS (default 60) each
#        scripts/fuzz.sh --long [RUNS]   every target for RUNS executions (default 10000000)
#                                        each, one after the other; FUZZ_TARGETS="a b" picks some,
#                                        FUZZ_MAX_SECONDS=N ends each run after N seconds at most
#
# The "_real" variants decode at the tools' own limits (pictures up to
# 65535 pixels a side and 2^28 pixels, 2 GiB of pixel bytes) under libFuzzer's -malloc_limit_mb:
# an allocation above what the largest accepted picture needs is a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=short
if [ "${1:-}" = "--long" ]; then
  mode=long
  runs=${2:-10000000}
else
  seconds=${1:-60}
fi
out=build/fuzz
quick=(bmp_reader dib_reader render_info_trailer info_reader wav_reader thumbnail)
real=(bmp_reader_real dib_reader_real render_info_trailer_real thumbnail_real)
all=("${quick[@]}" "${real[@]}")
# The core files the readers need; each target links them all.
core=(
  src/image/bmp_layout.cpp src/image/bmp_reader.cpp src/image/bmp_rle.cpp
  src/image/pixel_image.cpp src/image/stretch_halftone.cpp
  src/render/render_info.cpp src/render/render_info_bytes.cpp
  src/document/render_info_reader.cpp src/document/render_info_writer.cpp
  src/document/render_info_trailer.cpp
  src/base/file_io.cpp
  src/analysis/wav_reader.cpp
  src/browser/thumbnail.cpp
)
flags=(-std=c++20 -O1 -g -Isrc -Itests/fuzz -ffp-contract=off -Wall -Wextra -Werror
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
  for t in "${all[@]}"; do
    case $t in
      *_real) clang++ "${flags[@]}" -DLUMETRA_FUZZ_REAL_LIMITS "tests/fuzz/fuzz_${t%_real}.cpp" \
                "${objs[@]}" -o "$out/bin/fuzz_$t" ;;
      *) clang++ "${flags[@]}" "tests/fuzz/fuzz_$t.cpp" "${objs[@]}" -o "$out/bin/fuzz_$t" ;;
    esac
  done
  touch "$stamp"
fi

# The seed corpus is written by the unit tests of the native build.
if [ ! -x build/native/bin/unit_tests ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native -j2 --target unit_tests
fi
LUMETRA_FUZZ_CORPUS=$PWD/$out/seeds build/native/bin/unit_tests --gtest_filter='FuzzSeeds.*' >/dev/null

# The seeds of a target: its own, the BMP reader's for the thumbnails.
seedsOf() {
  case $1 in
    thumbnail*) echo "$out/seeds/bmp_reader" ;;
    *) echo "$out/seeds/${1%_real}" ;;
  esac
}
# The limits of a run: the real-limit targets may take what the largest accepted picture needs
# (2^28 pixels of 3 bytes, 768 MiB) and no more. Filling such a picture takes about half a second
# under the sanitizers on a quiet machine; on a busy one it took over ten, so their time limit is
# a minute: still far below what a decoder stuck in a loop would take.
limitsOf() {
  case $1 in
    *_real) echo "-timeout=60 -malloc_limit_mb=1024 -rss_limit_mb=3072" ;;
    *) echo "-timeout=10 -rss_limit_mb=2048" ;;
  esac
}

targets=("${all[@]}")
[ -z "${FUZZ_TARGETS:-}" ] || read -r -a targets <<<"$FUZZ_TARGETS"
status=0
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t" "$out/artifacts/$t" "$out/logs"
  if [ $mode = long ]; then
    log=$out/logs/$t.long.log
    length=(-runs="$runs" -max_total_time="${FUZZ_MAX_SECONDS:-0}")
    echo "== fuzz $t for $runs executions"
  else
    log=$out/logs/$t.log
    length=(-max_total_time="$seconds")
    echo "== fuzz $t for ${seconds}s"
  fi
  # shellcheck disable=SC2046
  if "$out/bin/fuzz_$t" "${length[@]}" $(limitsOf "$t") -max_len=4096 \
      -artifact_prefix="$out/artifacts/$t/" -print_final_stats=1 \
      "$out/corpus/$t" "$(seedsOf "$t")" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$log" | tr -s ' \n' ' '
    grep -E 'DONE +cov' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || echo
  else
    echo "fuzz target $t failed; its log ($log) ends:"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status
