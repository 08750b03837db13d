#!/usr/bin/env python3
"""Checks that the wave-out capture holds the samples of a WAV file.

Usage: played_sound.py WAV CAPTURE_FOLDER [TIMEOUT_SECONDS]

The capture device writes what the program played into played.raw (and played.raw.0001, ... for
later device openings). Wine plays silence whenever the program's buffer queue runs dry, so frames
that are silent in both channels are left out on both sides before comparing. Waits until the
capture is complete (playback runs faster than real time, but not at once) or the timeout passes.
Exit code 0 when the captured frames equal the WAV's frames, 1 otherwise.
"""

import glob
import os
import struct
import sys
import time

HEADER_BYTES = 48


def sounding_frames(data, channels):
    frame = 2 * channels
    silent = bytes(frame)
    usable = len(data) - len(data) % frame
    return b"".join(
        data[i : i + frame] for i in range(0, usable, frame) if data[i : i + frame] != silent
    )


def main():
    wav, folder = sys.argv[1], sys.argv[2]
    timeout = float(sys.argv[3]) if len(sys.argv) > 3 else 20.0
    with open(wav, "rb") as f:
        header = f.read(HEADER_BYTES)
        samples = f.read()
    channels = struct.unpack_from("<H", header, 22)[0]
    wanted = sounding_frames(samples, channels)

    end = time.monotonic() + timeout
    got = b""
    while True:
        for path in sorted(glob.glob(os.path.join(folder, "played.raw*"))):
            with open(path, "rb") as f:
                got = sounding_frames(f.read(), channels)
            if got == wanted:
                print(f"    played {len(wanted)} bytes of sounding frames from {os.path.basename(path)}")
                return 0
        if time.monotonic() > end:
            break
        time.sleep(0.25)
    print(f"    capture differs: {len(got)} sounding bytes captured, {len(wanted)} in the WAV file")
    return 1


if __name__ == "__main__":
    sys.exit(main())
