#!/usr/bin/env python3
"""Reads what the wave-out capture device recorded, for the playback scenarios.

The capture device writes every opening of the wave-out device into its own file: played.raw,
then played.raw.0001, played.raw.0002, ... Wine plays silence whenever the program's queue runs
dry, so frames that are silent in both channels are left out on both sides before comparing.

Usage:
  playback_capture.py count FOLDER
      prints the number of capture files
  playback_capture.py equal WAV FOLDER N [TIMEOUT]
      waits until capture file N (0 = played.raw) holds exactly the WAV's sound
  playback_capture.py repeats WAV FOLDER N MIN [TIMEOUT]
      waits until capture file N holds at least MIN whole copies of the sound, one after the
      other; prints the number of whole copies
  playback_capture.py settled WAV FOLDER N [TIMEOUT]
      waits until capture file N stops growing, checks that it holds nothing but copies of the
      sound one after the other (the last one may be cut short), and prints
      "COPIES REST_FRAMES"
Exit code 0 on success, 1 when the capture does not hold what was asked for in time.
"""

import glob
import os
import struct
import sys
import time

HEADER_BYTES = 48


def sounding_frames(data, frame):
    silent = bytes(frame)
    usable = len(data) - len(data) % frame
    return b"".join(
        data[i : i + frame] for i in range(0, usable, frame) if data[i : i + frame] != silent
    )


def read_wav(path):
    with open(path, "rb") as f:
        header = f.read(HEADER_BYTES)
        samples = f.read()
    channels = struct.unpack_from("<H", header, 22)[0]
    frame = 2 * channels
    return sounding_frames(samples, frame), frame


def capture_files(folder):
    return sorted(glob.glob(os.path.join(folder, "played.raw*")))


def capture(folder, n, frame):
    files = capture_files(folder)
    if n >= len(files):
        return None
    with open(files[n], "rb") as f:
        return sounding_frames(f.read(), frame)


def copies_in(got, wanted):
    """Whole copies of `wanted` at the start of `got` and the bytes after them; None when `got`
    is not copies of `wanted` one after the other."""
    if not wanted:
        return None
    whole, rest = divmod(len(got), len(wanted))
    for i in range(whole):
        if got[i * len(wanted) : (i + 1) * len(wanted)] != wanted:
            return None
    if got[whole * len(wanted) :] != wanted[:rest]:
        return None
    return whole, rest


def poll(timeout, check):
    end = time.monotonic() + timeout
    while True:
        result = check()
        if result is not None:
            return result
        if time.monotonic() > end:
            return None
        time.sleep(0.2)


def main(argv):
    mode = argv[1]
    if mode == "count":
        print(len(capture_files(argv[2])))
        return 0
    wanted, frame = read_wav(argv[2])
    folder, n = argv[3], int(argv[4])
    if mode == "equal":
        timeout = float(argv[5]) if len(argv) > 5 else 20.0
        seen = {}

        def check():
            got = capture(folder, n, frame)
            seen["got"] = got
            return True if got == wanted else None

        if poll(timeout, check):
            print(f"    capture {n} holds the sound: {len(wanted)} bytes of sounding frames")
            return 0
        got = seen.get("got")
        print(f"    capture {n}: {'missing' if got is None else len(got)} sounding bytes, "
              f"{len(wanted)} in the WAV file", file=sys.stderr)
        return 1
    if mode == "repeats":
        least = int(argv[5])
        timeout = float(argv[6]) if len(argv) > 6 else 30.0

        def check():
            got = capture(folder, n, frame)
            if got is None:
                return None
            copies = copies_in(got, wanted)
            if copies is None:
                return False  # something else than the sound: fail at once
            return copies[0] if copies[0] >= least else None

        result = poll(timeout, check)
        if result is None or result is False:
            print(f"    capture {n} does not hold {least} copies of the sound one after the other",
                  file=sys.stderr)
            return 1
        print(result)
        return 0
    if mode == "settled":
        timeout = float(argv[5]) if len(argv) > 5 else 20.0
        state = {"size": -1, "since": time.monotonic()}

        def check():
            files = capture_files(folder)
            if n >= len(files):
                return None
            size = os.path.getsize(files[n])
            now = time.monotonic()
            if size != state["size"]:
                state["size"], state["since"] = size, now
                return None
            return True if now - state["since"] >= 1.0 else None

        if not poll(timeout, check):
            print(f"    capture {n} did not stop growing", file=sys.stderr)
            return 1
        copies = copies_in(capture(folder, n, frame), wanted)
        if copies is None:
            print(f"    capture {n} holds something else than copies of the sound", file=sys.stderr)
            return 1
        print(f"{copies[0]} {copies[1] // frame}")
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
