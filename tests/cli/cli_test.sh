#!/usr/bin/env bash
# The batch tools from the outside: exit codes, one message for each kind of refusal, WAV files
# that sox measures, pictures that the renderer reads back (wording and arithmetic: unit tests).
#   cli_test.sh LUMETRA_RENDER DEMO_BMP SCRATCH_FOLDER LUMETRA_EDIT LUMETRA_ANALYZE
set -uo pipefail
render=$1 demo=$2 dir=$3 edit=$4 analyze=$5
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
# expect CODE NAME TEXT -- command...: the exit code, and TEXT in its output (stderr on failure).
expect() {
  local code=$1 name=$2 text=$3 got out
  shift 4
  "$@" >"$name.out" 2>"$name.err"
  got=$?
  out=$name.out
  [ "$code" -eq 0 ] || out=$name.err
  [ "$got" -eq "$code" ] || fail "$name: exit $got, expected $code; stderr: $(cat "$name.err")"
  grep -qF -- "$text" "$out" || fail "$out lacks '$text': $(cat "$out")"
}
info() { sox --i "-$1" "$2" 2>/dev/null; }
same() { [ "$2" = "$3" ] || fail "$1: got $2, expected $3"; }

# The demo picture at the defaults: 5 s of 16-bit stereo at 22050 Hz, 301 slices of 366 frames.
expect 0 demo "Generated 5.00 secs" -- "$render" "$demo" demo.wav
grep -q "Esc" demo.out && fail "the command line speaks of Esc: $(cat demo.out)"
same "demo rate, channels, bits, frames" "$(info r demo.wav) $(info c demo.wav) $(info b demo.wav) \
$(info s demo.wav)" "22050 2 16 110166"
# The same render again gives the same bytes (the random seed starts at its start value).
expect 0 again "Wrote again.wav" -- "$render" "$demo" again.wav
cmp -s demo.wav again.wav || fail "two renders of the demo differ"
# Options: mono, another rate, a selection render without blue, soft sweeps; 2 s over 301
# columns are 53 frames a slice, and the selection's 150 columns make 151 slices.
expect 0 mono "Wrote mono.wav" -- "$render" --mono --rate 8000 --time 2 --soft-sweeps \
  --noise-bandwidth 3 --command 303 --selection 0,0,150,150 "$demo" mono.wav
same "mono channels, rate, frames" "$(info c mono.wav) $(info r mono.wav) $(info s mono.wav)" \
  "1 8000 $((151 * 53))"
# The picture's render info (2 s) is adopted, and options override it.
cp "$demo" info.bmp && printf 'SIZE 300, 150\r\nPARMS 50, 8000, 10, 2\r\n' >info.info
expect 0 info "Generated 2.01 secs" -- "$render" info.bmp info.wav
expect 0 override "Generated 1.00 secs" -- "$render" --time 1 info.bmp override.wav
expect 0 help "Usage: lumetra-render [options] INPUT.bmp OUTPUT.wav" -- "$render" --help

# Refusals: exit 2 for the command line, 1 for the files; no output file (an earlier one stays).
echo "keep me" >kept.wav
expect 2 option "Unknown option --bogus" -- "$render" --bogus "$demo" kept.wav
expect 2 files "Missing INPUT.bmp or OUTPUT.wav" -- "$render" "$demo"
expect 2 amp "Bad value for --amp: 1e300 (0.001 to 1000)" -- "$render" --amp 1e300 "$demo" kept.wav
expect 2 selection "The selection must be a non-empty rectangle inside the 300 x 150 picture" \
  -- "$render" --selection 0,0,301,150 "$demo" kept.wav
cp "$demo" same.bmp
expect 2 same "OUTPUT ./same.bmp is the input picture" -- "$render" same.bmp ./same.bmp
cmp -s "$demo" same.bmp || fail "the render wrote over its input"
expect 1 missing "lumetra-render: Could not open missing.bmp: Error 2: No such file" \
  -- "$render" missing.bmp kept.wav
cp "$demo" long.bmp && printf 'SIZE 300, 150\r\nPARMS 50, 8000, 10, 40000\r\n' >long.info
expect 1 longinfo "long.bmp's render info, 40000 seconds, is outside 0.5 to 9000 seconds" \
  -- "$render" long.bmp kept.wav
same "the earlier output after failed runs" "$(cat kept.wav)" "keep me"
# An output that cannot be replaced (a folder of that name): told, and nothing left beside it.
mkdir taken.wav
expect 1 taken "lumetra-render: Soundfile error: Error writing taken.wav" \
  -- "$render" "$demo" taken.wav
[ -d taken.wav ] || fail "taken.wav is no longer the folder it was"
# Reading never writes: a record of another version behind the pixels stays where it is.
{ cat "$demo"; printf 'rdnr\244\0\0\0\146\0\0\0\1\0\0\0'; head -c 150 /dev/zero; } >newer.bmp
cp newer.bmp newer.copy
expect 0 newer "Wrote newer.wav" -- "$render" newer.bmp newer.wav
expect 0 newer_edit "Wrote newer_edited.bmp" -- "$edit" newer.bmp newer_edited.bmp invert
cmp -s newer.bmp newer.copy || fail "reading newer.bmp changed it"
rm -f newer.copy

# The batch editor through real files (its operations and messages: the unit tests). The
# picture's render info goes along: the renderer takes the edited picture's 2 s.
expect 0 edit_info "Wrote info_edited.bmp" -- "$edit" --seed 0x10 info.bmp info_edited.bmp \
  filter "$demo" --strength 100,50,0 --flip-ud
cmp -s info.bmp info_edited.bmp && fail "the edit changed nothing"
expect 0 render_edited "Generated 2.01 secs" -- "$render" info_edited.bmp info_edited.wav
cp "$demo" inplace.bmp
expect 0 edit_inplace "Wrote inplace.bmp" -- "$edit" inplace.bmp inplace.bmp invert
cmp -s "$demo" inplace.bmp && fail "the edit in place changed nothing"
expect 2 edit_option "lumetra-edit: Unknown option --bogus" -- "$edit" --bogus "$demo" x.bmp invert
mkdir taken.bmp
expect 1 edit_taken "lumetra-edit: Could not write taken.bmp: Error " \
  -- "$edit" "$demo" taken.bmp invert

# The batch analyser: the demo's sound becomes a picture that renders back to the same length.
expect 0 analyze "Analysed demo.wav: 500 x 177 pixels" -- "$analyze" demo.wav analysed.bmp
same "analysed size" "$(od -An -t d4 -j 18 -N 8 analysed.bmp | tr -s ' ')" " 500 177"
grep -qF "Sourcefile: demo.wav" analysed.info || fail "analysed.info: $(cat analysed.info)"
expect 0 analysed_render "Generated 5.00 secs" -- "$render" --command 302 analysed.bmp analysed.wav
# 151 * 53 frames at 8000 Hz on a grid of 20 columns a second.
expect 0 analyze_grid "Analysed mono.wav: 20 x 17 pixels" \
  -- "$analyze" --low 100 --high 1600 --rows 17 --pps 20 mono.wav grid.bmp
echo "keep me" >kept.bmp
expect 2 analyze_rows "Bad value for --rows: 1 (2 to 65535)" -- "$analyze" --rows 1 demo.wav kept.bmp
expect 2 analyze_files "Missing INPUT.wav or OUTPUT.bmp" -- "$analyze" demo.wav
expect 1 analyze_missing "Could not read missing.wav" -- "$analyze" missing.wav kept.bmp
expect 1 analyze_unwritable "Could not write no/such/folder/out.bmp" \
  -- "$analyze" demo.wav no/such/folder/out.bmp
same "the earlier picture after failed analyses" "$(cat kept.bmp)" "keep me"
expect 0 analyze_help "Usage: lumetra-analyze [options] INPUT.wav OUTPUT.bmp" -- "$analyze" --help
leftovers=$(ls | grep -v -E '\.(out|err|wav|bmp|info)$' || true)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all batch tool checks passed"
