#!/usr/bin/env python3
"""What the wave-out capture device recorded, for the playback scenarios.

The capture device writes every opening of the wave-out device into a file of its own in FOLDER:
played.raw, then played.raw.0001, played.raw.0002, ... Wine plays silence whenever the program's
queue runs dry, so frames that are silent in both channels are left out on both sides before
comparing.

  playback_capture.py count FOLDER
      prints the number of capture files
  playback_capture.py equal WAV FOLDER N [TIMEOUT]
      waits until capture N (0 = played.raw) holds exactly the WAV's sound
  playback_capture.py repeats WAV FOLDER N MIN [TIMEOUT]
      waits until capture N holds at least MIN whole copies of the sound, one after the other;
      prints the number of whole copies
  playback_capture.py settled WAV FOLDER N [TIMEOUT]
      waits until capture N stops growing and holds nothing but copies of the sound one after
      the other (the last one may be cut short); prints "COPIES REST_FRAMES"
Exit code 0 on success, 1 when the capture does not hold what was asked for in time.
"""

import glob
import os
import struct
import sys
import time


def sounding_frames(data, frame):
    silent = bytes(frame)
    usable = len(data) - len(data) % frame
    return b"".join(
        data[i : i + frame] for i in range(0, usable, frame) if data[i : i + frame] != silent
    )


def capture_files(folder):
    return sorted(glob.glob(os.path.join(folder, "played.raw*")))


def copies_in(got, wanted):
    """(whole copies of `wanted` at the start of `got`, bytes after them), or None when `got` is
    not copies of `wanted` one after the other."""
    whole, rest = divmod(len(got), len(wanted))
    if got != wanted * whole + wanted[:rest]:
        return None
    return whole, rest


def main(mode, *args):
    if mode == "count":
        print(len(capture_files(args[0])))
        return 0
    with open(args[0], "rb") as f:
        header, samples = f.read(48), f.read()
    frame = 2 * struct.unpack_from("<H", header, 22)[0]
    wanted = sounding_frames(samples, frame)
    folder, n, rest = args[1], int(args[2]), args[3:]
    least = int(rest[0]) if mode == "repeats" else 0
    timeout = float(rest[-1]) if len(rest) > (mode == "repeats") else 20.0
    end = time.monotonic() + timeout
    size, since = -1, time.monotonic()
    while time.monotonic() < end:
        files = capture_files(folder)
        if n < len(files):
            with open(files[n], "rb") as f:
                got = sounding_frames(f.read(), frame)
            copies = copies_in(got, wanted)
            if mode == "equal" and got == wanted:
                print(f"    capture {n} holds the sound: {len(wanted)} bytes of sounding frames")
                return 0
            if mode == "repeats" and copies and copies[0] >= least:
                print(copies[0])
                return 0
            if mode == "settled":
                if len(got) != size:
                    size, since = len(got), time.monotonic()
                elif time.monotonic() - since >= 1.0 and copies:
                    print(f"{copies[0]} {copies[1] // frame}")
                    return 0
            if copies is None and mode != "equal":
                break  # something else than copies of the sound: it will not get better
        time.sleep(0.2)
    print(f"    capture {n} does not hold the {mode} sound of {args[0]}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
