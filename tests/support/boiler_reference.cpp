#include "boiler_reference.h"

#include <algorithm>
#include <cmath>

namespace lumetra::testing {
namespace {

unsigned channel(std::uint32_t colour, int ch) {
    return (colour >> (8 * (2 - ch))) & 0xFF;  // ch 0 blue, 1 green, 2 red
}

// Channel ch of the snapshot at (x, y), the coordinates clamped into the picture.
float at(const PixelImage& snapshot, int x, int y, int ch) {
    x = std::clamp(x, 0, snapshot.width - 1);
    y = std::clamp(y, 0, snapshot.height - 1);
    return snapshot.pictureRow(y)[3 * x + ch];
}

std::uint8_t store(float v) {
    if (!(v > 0)) return 0;
    return std::uint8_t(std::fmod(std::trunc(v + 0.5f), 256.0));
}

}  // namespace

void referenceRunBoiler(CanvasImage& image, const ReferenceBrush& brush, const Rect& area,
                        bool dabMode) {
    const BrushSettings& s = brush.settings;
    const PixelImage snapshot = image.pixels;
    const int w = area.width(), h = area.height();
    const float b = s.blur * 0.01f;
    const float keep = 1 - b;
    const float k = b * 0.05f;
    const float cf = s.cycle * 0.001f;
    const float a = (50 - s.shift) * 0.02f;
    const float heat = float(s.heat);
    const bool masked = s.shape != BrushShape::Rect;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const int x = area.left + column, y = area.top + row;
            if (x < 0 || x >= snapshot.width || y < 0 || y >= snapshot.height) continue;
            float start[3], value[3], weight[3];
            for (int ch = 0; ch < 3; ++ch) {
                start[ch] = at(snapshot, x, y, ch);
                value[ch] = start[ch];
                if (b != 0) {
                    const float lsum = at(snapshot, x - 1, y - 1, ch) +
                                       4 * at(snapshot, x - 1, y, ch) +
                                       at(snapshot, x - 1, y + 1, ch);
                    const float rsum = at(snapshot, x + 1, y - 1, ch) +
                                       4 * at(snapshot, x + 1, y, ch) +
                                       at(snapshot, x + 1, y + 1, ch);
                    const float csum =
                        4 * (at(snapshot, x, y - 1, ch) + at(snapshot, x, y + 1, ch));
                    const float sum = (2 - a) * lsum + a * rsum + csum;
                    value[ch] = keep * start[ch] + k * sum;
                }
            }
            const float blue = start[0], green = start[1], red = start[2];
            if (!dabMode && value[2] + value[1] + value[0] + red + green + blue < 0.001f) continue;
            const int brushRow = h - 1 - row;  // the brush bitmap counts rows from the bottom
            for (int ch = 0; ch < 3; ++ch) {
                if (dabMode) {
                    weight[ch] =
                        brush.pixels[3 * (brushRow * w + column) + ch] * 0.003921568859368563f;
                } else if (s.fade == ColorFade::Noise) {
                    weight[ch] = (channel(s.colour1, ch) + channel(s.colour2, ch)) * 0.001953125f;
                } else {
                    const float t = s.fade == ColorFade::Right ? float(column) / w : float(row) / h;
                    weight[ch] = channel(s.colour1, ch) * ((1 - t) / 255) +
                                 channel(s.colour2, ch) * (t / 255);
                }
            }
            if (s.heat != 0) {
                for (int ch = 2; ch >= 0; --ch) {  // red, green, blue
                    if (start[ch] == 0) continue;
                    value[ch] = value[ch] + weight[ch] * heat;
                    if (value[ch] <= 0) {
                        value[ch] = value[ch] + 255;
                    } else if (ch == 2 && value[ch] >= 255.5f) {
                        value[ch] = value[ch] - 255;
                    } else if (ch != 2 && value[ch] > 255.5f) {
                        value[ch] = value[ch] - 255;
                    }
                }
            }
            if (cf != 0) {
                if (blue != 0) {
                    value[2] = value[2] + (value[0] + value[1]) * cf;
                    value[1] = value[1] + (value[0] + value[2]) * cf;
                }
                if (red != 0 || green != 0) value[0] = value[0] + (value[1] + value[2]) * cf;
            }
            float m = 0;
            if (masked && dabMode) {
                m = brush.mask[brushRow * w + column] * 0.003921568859368563f;
            } else if (masked) {
                const float hw = w * 0.5f, hh = h * 0.5f;
                const float dx = (column - hw) / hw;
                const float dy = (row - hh) / hh;
                m = 1 - std::min(std::sqrt(dx * dx + dy * dy), 1.0f);
            }
            std::uint8_t* out = image.pixels.pictureRow(y) + 3 * x;
            for (int ch = 0; ch < 3; ++ch) {
                float v = (1 - weight[ch]) * start[ch] + weight[ch] * value[ch];
                if (masked) v = m * v + (1 - m) * start[ch];
                out[ch] = store(v);
            }
        }
    }
}

}  // namespace lumetra::testing
