#!/usr/bin/env python3
"""What the wave-out capture device recorded, for the playback scenarios.

The capture device writes every opening of the wave-out device into a file of its own in FOLDER:
played.raw, then played.raw.0001, played.raw.0002, ... Wine plays silence whenever the program's
queue runs dry, so frames that are silent in both channels are left out on both sides.

  playback_capture.py count FOLDER                    the number of capture files
  playback_capture.py equal WAV FOLDER N [TIMEOUT]    waits until capture N holds the WAV's sound
  playback_capture.py repeats WAV FOLDER N MIN [TIMEOUT]
      waits until capture N holds at least MIN whole copies of the sound, one after the other
Exit code 0 on success, 1 when the capture does not hold what was asked for in time.
"""

import glob
import os
import struct
import sys
import time


def sounding_frames(data, frame):
    frames = (data[i : i + frame] for i in range(0, len(data) - len(data) % frame, frame))
    return b"".join(f for f in frames if f != bytes(frame))


def capture_files(folder):
    return sorted(glob.glob(os.path.join(folder, "played.raw*")))


def main(mode, *args):
    if mode == "count":
        return print(len(capture_files(args[0]))) or 0
    with open(args[0], "rb") as f:
        header, samples = f.read(48), f.read()
    frame = 2 * struct.unpack_from("<H", header, 22)[0]  # 16 bits a channel
    wanted = sounding_frames(samples, frame)
    folder, n, rest = args[1], int(args[2]), args[3:]
    least = int(rest[0]) if mode == "repeats" else 1
    end = time.monotonic() + (float(rest[-1]) if len(rest) > (mode == "repeats") else 20.0)
    got = b""
    while time.monotonic() < end:
        files = capture_files(folder)
        if n < len(files):
            with open(files[n], "rb") as f:
                got = sounding_frames(f.read(), frame)
            whole, part = divmod(len(got), len(wanted))
            # Copies of the sound one after the other, the last one perhaps still coming; once
            # the capture holds anything else it will not get better.
            if got != wanted * whole + wanted[:part] or (mode == "equal" and whole > 1):
                break
            if whole >= least and (mode == "repeats" or part == 0):
                print(f"    capture {n} holds {whole} whole copies of the sound")
                return 0
        time.sleep(0.2)
    print(f"    capture {n} does not hold {least} copies of the sound of {args[0]}: "
          f"{len(got)} bytes of sounding frames for {len(wanted)} a copy", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) >= 3 else __doc__)
