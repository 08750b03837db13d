#!/usr/bin/python3
"""Round trip of the soundfile analysis: a sound is analysed into a picture (lumetra-analyze), the
picture rendered back without blue at the sound's rate (lumetra-render --command 302), and the two
sounds compared on a log-frequency band map.

The band map: STFT power (Hann window of about 46 ms, hop a quarter of it) summed into
sixth-octave bands between the low and high pitch, in dB. The figure is the mean absolute dB
difference over the cells within 50 dB of the original's loudest, after the best single gain and
the best time shift of at most 50 ms. For stereo sounds the left-right level difference of each
band (power over the whole sound) is compared as well, over the bands where both channels lie
within 50 dB of the loudest.

  roundtrip.py run BIN_DIR [WORK_DIR]      make the test sounds (espeak-ng, sox), run the round
                                           trip of each and print its figures
  roundtrip.py measure ORIGINAL RENDERED [--low HZ] [--high HZ]
"""

import argparse
import os
import subprocess
import sys
import tempfile

import numpy as np
from scipy.io import wavfile
from scipy.signal import stft

LOW, HIGH = 50.0, 8000.0


def read(path):
    rate, data = wavfile.read(path)
    if data.dtype == np.uint8:
        data = (data.astype(np.float64) - 128) / 128
    elif data.dtype.kind == "i":
        data = data.astype(np.float64) / float(np.iinfo(data.dtype).max + 1)
    else:
        data = data.astype(np.float64)
    if data.ndim == 1:
        data = data[:, None]
    return rate, data


def band_weights(rate, size, low, high):
    """Share of each STFT bin (an interval one bin wide) in each sixth-octave band."""
    count = int(np.floor(6 * np.log2(high / low) + 1e-9))
    edges = low * 2.0 ** (np.arange(count + 1) / 6.0)
    width = rate / size
    lo = (np.arange(size // 2 + 1) - 0.5) * width
    hi = lo + width
    weights = np.clip(np.minimum(hi[None, :], edges[1:, None]) -
                      np.maximum(lo[None, :], edges[:-1, None]), 0, None) / width
    return weights


def band_map(x, rate, low, high):
    """dB map (bands x frames) of one channel."""
    size = 1 << int(round(np.log2(0.046 * rate)))
    _, _, spectrum = stft(x, fs=rate, window="hann", nperseg=size, noverlap=size - size // 4,
                      boundary="zeros", padded=True)
    power = np.abs(spectrum) ** 2
    return 10 * np.log10(band_weights(rate, size, low, high) @ power + 1e-20)


def compare(original, rendered, rate, low, high):
    """(mean abs dB, best shift in ms, per-band L-R differences of both) of two sounds."""
    chans = original.shape[1]
    rendered = rendered[:, :chans] if rendered.shape[1] >= chans else \
        np.repeat(rendered, chans, axis=1)
    maps = [band_map(original[:, c], rate, low, high) for c in range(chans)]
    loudest = max(m.max() for m in maps)
    masks = [m > loudest - 50 for m in maps]
    step = max(1, int(rate * 0.0025))
    best = None
    for shift in range(-int(rate * 0.05), int(rate * 0.05) + 1, step):
        shifted = np.zeros((original.shape[0], chans))
        src = rendered[max(0, shift):, :]
        dst_from = max(0, -shift)
        n = min(len(src), len(shifted) - dst_from)
        shifted[dst_from:dst_from + n] = src[:n]
        rmaps = [band_map(shifted[:, c], rate, low, high) for c in range(chans)]
        diffs = np.concatenate([(r - m)[k] for r, m, k in zip(rmaps, maps, masks)])
        gain = np.median(diffs)
        err = np.mean(np.abs(diffs - gain))
        if best is None or err < best[0]:
            best = (err, shift * 1000.0 / rate, rmaps)
    err, shift, rmaps = best
    lr = None
    if chans == 2:
        def levels(m):
            return 10 * np.log10(np.mean(10 ** (m / 10), axis=1))
        active = (levels(maps[0]) > loudest - 50) & (levels(maps[1]) > loudest - 50)
        lr = ((levels(maps[0]) - levels(maps[1]))[active],
              (levels(rmaps[0]) - levels(rmaps[1]))[active])
    return err, shift, lr


def report(name, original, rendered, low, high):
    rate, a = read(original)
    rate_b, b = read(rendered)
    if rate != rate_b:
        sys.exit(f"{name}: rates differ ({rate}, {rate_b})")
    err, shift, lr = compare(a, b, rate, low, high)
    line = f"{name:16s} mean |dB| {err:5.2f}  shift {shift:+6.1f} ms"
    if lr is not None:
        dev = np.abs(lr[0] - lr[1])
        line += (f"  L-R: mean dev {dev.mean():4.2f} dB, max dev {dev.max():4.2f} dB"
                 f" (original overall {lr[0].mean():+5.1f} dB)")
    print(line)
    return err


def make_sounds(work):
    def run(*cmd):
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    j = lambda n: os.path.join(work, n)
    run("espeak-ng", "-w", j("speech.wav"),
        "The quick brown fox jumps over the lazy dog. Pictures become sounds, and sounds "
        "become pictures again.")
    run("espeak-ng", "-v", "en+m3", "-w", j("voice1.wav"),
        "Left side: one, two, three, four, five, six.")
    run("espeak-ng", "-v", "en-us+f3", "-p", "70", "-w", j("voice2.wav"),
        "On the right, another voice is reading a different sentence.")
    run("sox", "-M", j("voice1.wav"), j("voice2.wav"), j("stereo-speech.wav"))
    # C4 and G4, the C 12 dB louder on the left, the G 12 dB louder on the right.
    run("sox", "-n", "-r", "44100", "-b", "16", "-c", "2", j("chord.wav"), "synth", "4",
        "sine", "261.63", "sine", "392", "remix", "1v0.4,2v0.1", "1v0.1,2v0.4")
    # Two sine sweeps in one channel, one up and one down, crossing half-way.
    run("sox", "-n", "-r", "44100", "-b", "16", "-c", "2", j("sweeps2.wav"), "synth", "5",
        "sine", "200-4000", "sine", "4000-200", "remix", "1v0.4,2v0.4")
    os.rename(j("sweeps2.wav"), j("sweeps.wav"))
    return ["speech", "stereo-speech", "chord", "sweeps"]


def run_all(bindir, work):
    analyze = os.path.join(bindir, "lumetra-analyze")
    render = os.path.join(bindir, "lumetra-render")
    worst = 0
    for name in make_sounds(work):
        wav = os.path.join(work, name + ".wav")
        bmp = os.path.join(work, name + ".bmp")
        back = os.path.join(work, name + "-back.wav")
        rate, data = read(wav)
        subprocess.run([analyze, wav, bmp], check=True, stdout=subprocess.DEVNULL)
        cmd = [render, "--command", "302", "--rate", str(rate), bmp, back]
        if data.shape[1] == 1:
            cmd.insert(1, "--mono")
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)
        worst = max(worst, report(name, wav, back, LOW, HIGH))
    print(f"worst mean |dB| {worst:.2f} (target 4.00)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="what", required=True)
    r = sub.add_parser("run")
    r.add_argument("bindir")
    r.add_argument("work", nargs="?")
    m = sub.add_parser("measure")
    m.add_argument("original")
    m.add_argument("rendered")
    m.add_argument("--low", type=float, default=LOW)
    m.add_argument("--high", type=float, default=HIGH)
    a = parser.parse_args()
    if a.what == "measure":
        report(os.path.basename(a.original), a.original, a.rendered, a.low, a.high)
    elif a.work:
        os.makedirs(a.work, exist_ok=True)
        run_all(a.bindir, a.work)
    else:
        with tempfile.TemporaryDirectory() as work:
            run_all(a.bindir, work)


if __name__ == "__main__":
    main()
