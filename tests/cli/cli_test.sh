#!/usr/bin/env bash
# The batch tools from the outside: exit codes, messages, WAV files that sox reads and measures,
# and pictures that the renderer reads back. Usage:
#   cli_test.sh LUMETRA_RENDER DEMO_BMP SCRATCH_FOLDER LUMETRA_EDIT LUMETRA_ANALYZE
set -uo pipefail
render=$1 demo=$2 dir=$3 edit=$4 analyze=$5
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
expect_exit() {  # expect_exit CODE NAME -- command...
  local code=$1 name=$2; shift 3
  "$@" >"$name.out" 2>"$name.err"
  local got=$?
  [ "$got" -eq "$code" ] || fail "$name: exit $got, expected $code; stderr: $(cat "$name.err")"
}
expect_text() {  # expect_text FILE TEXT
  grep -qF -- "$2" "$1" || fail "$1 lacks '$2': $(cat "$1")"
}
info() { sox --i "-$1" "$2" 2>/dev/null; }

# The demo picture at the defaults: 5 s of 16-bit stereo at 22050 Hz, 301 slices of 366 frames.
expect_exit 0 demo -- "$render" "$demo" demo.wav
expect_text demo.out "Generating 5.00 secs"
grep -q "Esc" demo.out && fail "the command line speaks of Esc: $(cat demo.out)"
expect_text demo.out "Generated 5.00 secs"
expect_text demo.out "Wrote demo.wav"
[ "$(info r demo.wav)" = 22050 ] || fail "demo rate $(info r demo.wav)"
[ "$(info c demo.wav)" = 2 ] || fail "demo channels $(info c demo.wav)"
[ "$(info b demo.wav)" = 16 ] || fail "demo bits $(info b demo.wav)"
[ "$(info s demo.wav)" = 110166 ] || fail "demo frames $(info s demo.wav)"
[ "$(stat -c %s demo.wav)" = $((48 + 440664)) ] || fail "demo size $(stat -c %s demo.wav)"
rms=$(sox demo.wav -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
max=$(sox demo.wav -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
awk -v r="$rms" -v m="$max" 'BEGIN { exit !(r > 0.05 && m < 1.0) }' ||
  fail "demo levels: RMS $rms, maximum $max"

# The same render again gives the same bytes (the random seed starts at its start value).
expect_exit 0 again -- "$render" "$demo" again.wav
cmp -s demo.wav again.wav || fail "two renders of the demo differ"

# Options: mono, another rate, a selection render without blue, soft sweeps.
expect_exit 0 mono -- "$render" --mono --rate 8000 --time 2 --soft-sweeps --noise-bandwidth 3 \
  --command 303 --selection 0,0,150,150 "$demo" mono.wav
[ "$(info c mono.wav)" = 1 ] || fail "mono channels $(info c mono.wav)"
[ "$(info r mono.wav)" = 8000 ] || fail "mono rate $(info r mono.wav)"
# 2 s over 301 columns: 53 frames per slice; the selection's 150 columns make 151 slices.
[ "$(info s mono.wav)" = $((151 * 53)) ] || fail "mono frames $(info s mono.wav)"

# The picture's render info is adopted: a ".info" file beside a copy of the demo sets 2 s.
cp "$demo" info.bmp
printf 'SIZE 300, 150\r\nPARMS 50, 8000, 10, 2\r\n' >info.info
expect_exit 0 info -- "$render" info.bmp info.wav
expect_text info.out "Render info updated by image"
# 2 s over 301 slices: trunc(22050 * 2 / 301 + 0.5) = 147 frames each, 2.0067 s.
expect_text info.out "Generated 2.01 secs"
# ... and options override it.
expect_exit 0 override -- "$render" --time 1 info.bmp override.wav
expect_text override.out "Generated 1.00 secs"

# Bad input: a clear message, a non-zero exit, and no output file (an earlier one stays).
echo "keep me" >kept.wav
expect_exit 2 option -- "$render" --bogus "$demo" kept.wav
expect_text option.err "Unknown option --bogus"
expect_exit 2 rate -- "$render" --rate 12345 "$demo" kept.wav
expect_text rate.err "Bad value for --rate: 12345"
expect_exit 2 pitch -- "$render" --low 9000 "$demo" kept.wav
expect_text pitch.err "The high pitch must lie above the low pitch"
expect_exit 2 selection -- "$render" --selection 0,0,301,150 "$demo" kept.wav
expect_text selection.err "The selection must be a non-empty rectangle inside the 300 x 150 picture"
expect_exit 2 files -- "$render" "$demo"
expect_text files.err "Missing INPUT.bmp or OUTPUT.wav"
expect_exit 1 missing -- "$render" missing.bmp kept.wav
expect_text missing.err "lumetra-render: Could not open missing.bmp: Error 2: No such file"
printf 'BM this is no picture at all, only words' >words.bmp
expect_exit 1 words -- "$render" words.bmp kept.wav
expect_text words.err "lumetra-render: Could not open words.bmp: Unsupported BMP header"
# Values the program's dialogs would not take, and a selection command without a selection.
expect_exit 2 amp -- "$render" --amp 1e300 "$demo" kept.wav
expect_text amp.err "Bad value for --amp: 1e300 (0.001 to 1000)"
expect_exit 2 nosel -- "$render" --command 301 "$demo" kept.wav
expect_text nosel.err "--command 301 renders the selection: give one with --selection"
# A time from the picture's render info is held to the range --time has.
cp "$demo" long.bmp
printf 'SIZE 300, 150\r\nPARMS 50, 8000, 10, 40000\r\n' >long.info
expect_exit 1 longinfo -- "$render" long.bmp kept.wav
expect_text longinfo.err "long.bmp's render info, 40000 seconds, is outside 0.5 to 9000 seconds"
# A run-length file of about 1 KB claiming 715827882 x 1 pixels (a row of 2^31 bytes), and one
# of 26000 x 27000: refused by both tools before anything is allocated.
rle() {  # rle WIDTH HEIGHT: an RLE8 file of 1088 bytes, header + 2 colours + runs of nothing
  python3 -c "import struct,sys; w,h=int(sys.argv[1]),int(sys.argv[2]); px=bytes(1024)+b'\\0\\1';
o=14+40+8; sys.stdout.buffer.write(b'BM'+struct.pack('<IHHI',o+len(px),0,0,o)+
struct.pack('<IiiHHIIiiII',40,w,h,1,8,1,len(px),0,0,2,0)+bytes(8)+px)" "$1" "$2"
}
rle 715827882 1 >wide.bmp
rle 26000 27000 >huge.bmp
for f in wide huge; do
  expect_exit 1 "render_$f" -- "$render" $f.bmp kept.wav
  expect_exit 1 "edit_$f" -- "$edit" $f.bmp kept.bmp invert
done
expect_text render_wide.err "Could not open wide.bmp: Picture too large (715827882 x 1): at most 65535"
expect_text edit_huge.err "lumetra-edit: Could not open huge.bmp: Picture too large (26000 x 27000)"
# The output is never the input: a picture replaced by its own sound.
cp "$demo" same.bmp
expect_exit 2 same -- "$render" same.bmp ./same.bmp
expect_text same.err "OUTPUT ./same.bmp is the input picture"
cmp -s "$demo" same.bmp || fail "the render wrote over its input"
# Reading never writes: a record of another version behind the pixels stays where it is.
cp "$demo" newer.bmp
printf 'rdnr\244\0\0\0\146\0\0\0\1\0\0\0' >>newer.bmp
head -c 150 /dev/zero >>newer.bmp
cp newer.bmp newer.copy
expect_exit 0 newer -- "$render" newer.bmp newer.wav
expect_exit 0 newer_edit -- "$edit" newer.bmp newer_edited.bmp invert
cmp -s newer.bmp newer.copy || fail "reading newer.bmp changed it"
rm -f newer.copy
# A blue picture (3 x 2, 24 bits) has nothing to render.
printf 'BM\x4e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x18\0\0\0' >blue.bmp
printf '\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >>blue.bmp
printf '\xff\0\0\xff\0\0\xff\0\0\0\0\0\xff\0\0\xff\0\0\xff\0\0\0\0\0' >>blue.bmp
expect_exit 1 blue -- "$render" blue.bmp kept.wav
expect_text blue.err "No image data to render!"
[ "$(cat kept.wav)" = "keep me" ] || fail "a failed run changed the earlier output file"
expect_exit 1 unwritable -- "$render" "$demo" no/such/folder/out.wav
expect_text unwritable.err "Could not open no/such/folder/out.wav for output"
# An output that cannot be replaced (a folder of that name): told, exit 1, nothing left beside it.
mkdir taken.wav
expect_exit 1 taken -- "$render" "$demo" taken.wav
expect_text taken.err "lumetra-render: Soundfile error: Error writing taken.wav"
expect_text taken.err "lumetra-render: Error writing taken.wav"
[ -d taken.wav ] || fail "taken.wav is no longer the folder it was"
leftovers=$(ls | grep -v -E '\.(out|err|wav|bmp|info)$' || true)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
[ ! -e bogus.wav ] || fail "bogus.wav"

expect_exit 0 help -- "$render" --help
expect_text help.out "Usage: lumetra-render [options] INPUT.bmp OUTPUT.wav"

# The batch editor through real files (its operations and messages: the unit tests). The
# picture's render info goes along: the renderer takes the edited picture's 2 s.
expect_exit 0 edit_info -- "$edit" --seed 0x10 info.bmp info_edited.bmp filter "$demo" \
  --strength 100,50,0 --flip-ud
expect_text edit_info.out "Wrote info_edited.bmp"
cmp -s info.bmp info_edited.bmp && fail "the edit changed nothing"
expect_exit 0 render_edited -- "$render" info_edited.bmp info_edited.wav
expect_text render_edited.out "Render info updated by image"
expect_text render_edited.out "Generated 2.01 secs"
expect_exit 2 edit_option -- "$edit" --bogus "$demo" x.bmp invert
expect_text edit_option.err "lumetra-edit: Unknown option --bogus"
# Echord's values are held to the dialog's ranges: NUM 2147483647 would run for days.
expect_exit 2 echord_num -- "$edit" "$demo" x.bmp echord 0,0,1,0,0,0,2147483647,0,0,0,0,0,0
expect_text echord_num.err "Bad value for echord: NUM 2147483647 (0 to 100)"
# BMP bytes only under a BMP name; in place where asked, replaced only when complete.
expect_exit 2 edit_png -- "$edit" "$demo" x.png invert
expect_text edit_png.err "OUTPUT must be a BMP file whose name ends in \".bmp\", not x.png"
cp "$demo" inplace.bmp
expect_exit 0 edit_inplace -- "$edit" inplace.bmp inplace.bmp invert
cmp -s "$demo" inplace.bmp && fail "the edit in place changed nothing"
# A file the edit cannot write: which one, and the system's reason.
mkdir taken.bmp
expect_exit 1 edit_taken -- "$edit" "$demo" taken.bmp invert
expect_text edit_taken.err "lumetra-edit: Could not write taken.bmp: Error "
[ ! -e x.png ] || fail "x.png was written"

# The batch analyser: the demo's sound becomes a picture that renders back to the same length.
expect_exit 0 analyze -- "$analyze" demo.wav analysed.bmp
expect_text analyze.out "Analysed demo.wav: 500 x 177 pixels"
expect_text analyze.out "Wrote analysed.bmp"
[ "$(od -An -t d4 -j 18 -N 8 analysed.bmp | tr -s ' ')" = " 500 177" ] ||
  fail "analysed size $(od -An -t d4 -j 18 -N 8 analysed.bmp)"
expect_text analysed.info "Sourcefile: demo.wav"
expect_text analysed.info "Source length: 5.00 (22050), stereo"
expect_text analysed.info "CMD 104"
expect_exit 0 analysed_render -- "$render" --command 302 analysed.bmp analysed.wav
expect_text analysed_render.out "Render info updated by image"
expect_text analysed_render.out "Generated 5.00 secs"
expect_exit 0 analyze_grid -- "$analyze" --low 100 --high 1600 --rows 17 --pps 20 mono.wav grid.bmp
expect_text analyze_grid.out "Analysed mono.wav: 20 x 17 pixels"  # 151 * 53 frames at 8000 Hz
echo "keep me" >kept.bmp
expect_exit 2 analyze_rows -- "$analyze" --rows 1 demo.wav kept.bmp
expect_text analyze_rows.err "Bad value for --rows: 1 (2 to 65535)"
expect_exit 2 analyze_pitch -- "$analyze" --low 9000 demo.wav kept.bmp
expect_text analyze_pitch.err "The high pitch must lie above the low pitch"
expect_exit 2 analyze_files -- "$analyze" demo.wav
expect_text analyze_files.err "Missing INPUT.wav or OUTPUT.bmp"
expect_exit 2 analyze_limits -- "$analyze" --rows 65535 --pps 10000 demo.wav kept.bmp
expect_text analyze_limits.err "beyond the limits of 65535 on a side and 2^28 pixels"
expect_exit 1 analyze_missing -- "$analyze" missing.wav kept.bmp
expect_text analyze_missing.err "Could not read missing.wav"
printf 'RIFF\4\0\0\0WAVE' >empty.wav
expect_exit 1 analyze_empty -- "$analyze" empty.wav kept.bmp
expect_text analyze_empty.err "empty.wav: The soundfile has no format chunk"
expect_exit 1 analyze_unwritable -- "$analyze" demo.wav no/such/folder/out.bmp
expect_text analyze_unwritable.err "Could not write no/such/folder/out.bmp"
[ "$(cat kept.bmp)" = "keep me" ] || fail "a failed analysis changed the earlier output file"
expect_exit 0 analyze_help -- "$analyze" --help
expect_text analyze_help.out "Usage: lumetra-analyze [options] INPUT.wav OUTPUT.bmp"
leftovers=$(ls | grep -v -E '\.(out|err|wav|bmp|info)$' || true)
[ -z "$leftovers" ] || fail "files left behind after the analyses: $leftovers"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all batch tool checks passed"
