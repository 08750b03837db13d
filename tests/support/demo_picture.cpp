#include "demo_picture.h"

#include <algorithm>
#include <string>

namespace lumetra::testing {
namespace {

constexpr std::int32_t kWidth = 300, kHeight = 150;

// Rows counted from the bottom. With 150 rows from 50 Hz to 8000 Hz a semitone is about 1.7
// rows and an octave 20.35 rows: A2 (110 Hz) is row 23.
constexpr int kA2 = 23, kCs3 = 30, kD3 = 32, kE3 = 35, kFs3 = 38, kA3 = 43, kD4 = 52, kA4 = 64;

// A swell over `attack` columns, a hold, and a fade over `release` columns; 0 .. 255.
int envelope(int x, int start, int end, int attack, int release) {
    if (x < start || x >= end) return 0;
    const int in = std::min(255, (x - start + 1) * 255 / attack);
    const int out = std::min(255, (end - x) * 255 / release);
    return std::min(in, out);
}

void addTone(PixelImage& image, int x, int row, int red, int green, int blue) {
    const std::int32_t y = kHeight - 1 - row;
    const Rgb old = pixelAt(image, x, y);
    auto add = [](int a, int b) { return static_cast<std::uint8_t>(std::min(255, a + b)); };
    setPixel(image, x, y, Rgb{add(old.red, red), add(old.green, green), add(old.blue, blue)});
}

void chordA(PixelImage& image, int x) {
    const int e = envelope(x, 0, 100, 12, 40);
    if (e == 0) return;
    // The root leans left, the fifth right; the octave above sits quieter in both.
    addTone(image, x, kA2, e * 200 / 255, e * 120 / 255, 0);
    addTone(image, x, kCs3, e * 150 / 255, e * 150 / 255, 0);
    addTone(image, x, kE3, e * 110 / 255, e * 190 / 255, 0);
    addTone(image, x, kA3, e * 90 / 255, e * 90 / 255, 0);
    addTone(image, x, kA4, e * 40 / 255, e * 40 / 255, 0);
}

void sweep(PixelImage& image, int x) {
    const int e = envelope(x, 95, 205, 10, 10);
    if (e == 0) return;
    const int t = std::clamp(x - 100, 0, 99);
    const int row = 40 + t * 60 / 99;  // about 150 Hz up to about 1100 Hz
    const int left = e * (99 - t) / 99, right = e * t / 99;
    addTone(image, x, row, left * 220 / 255, right * 220 / 255, 0);
    addTone(image, x, row + 20, left * 70 / 255, right * 70 / 255, 0);  // an octave above
}

void chordD(PixelImage& image, int x) {
    const int e = envelope(x, 200, 300, 8, 60);
    if (e == 0) return;
    addTone(image, x, kD3, e * 180 / 255, e * 180 / 255, 0);
    addTone(image, x, kFs3, e * 130 / 255, e * 160 / 255, 0);
    addTone(image, x, kA3, e * 160 / 255, e * 130 / 255, 0);
    addTone(image, x, kD4, e * 90 / 255, e * 90 / 255, e * 120 / 255);  // a little noise band
}

}  // namespace

PixelImage makeDemoPicture() {
    std::string message;
    PixelImage image = *createCanvasBitmap(kWidth, kHeight, message);
    for (int x = 0; x < kWidth; ++x) {
        chordA(image, x);
        sweep(image, x);
        chordD(image, x);
    }
    return image;
}

}  // namespace lumetra::testing
