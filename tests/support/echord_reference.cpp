#include "echord_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumetra::testing {
namespace {

std::int64_t step12(RandomSeed& seed) {
    return static_cast<std::int32_t>(nextRandom(seed)) >> 20;
}

std::uint8_t added(std::uint8_t target, std::uint8_t s, float f) {
    const float v = float(s) - f * float(s);
    if (v < 1.0f) return target;
    return std::uint8_t(std::min(255.0f, float(target) + v));
}

}  // namespace

void referenceEchord(const PixelImage& source, CanvasImage& destination, const EchordSettings& e,
                     RandomSeed& seed) {
    PixelImage& image = destination.pixels;
    if (e.num <= 0 || (e.hop == 0 && e.hop1 == 0)) return;
    const Rect area = operationRegion(destination);
    const float twoPi = 6.28318530717958647692f;
    float d = float(e.hop1 != 0 ? e.hop1 : e.hop);
    float theta = float(90 - e.angle) * (1.0f / 360.0f) * twoPi;
    const float turn = float(-e.warp) * (1.0f / 3600.0f) * twoPi;
    float f = float(e.fade1 != 0 ? e.fade1 : e.fade) * 0.01f;
    bool swapNow = e.swap != 0;
    std::int64_t jitter = 0;
    for (std::int32_t k = 1; k <= e.num; ++k) {
        if (f >= 1.0f && e.fade >= 0) break;
        if (e.rand != 0) d = d + float(k * e.rand * step12(seed)) * 0.00002f;
        jitter += e.jitter;
        const auto ox = static_cast<std::int32_t>(d * std::cos(theta));
        const auto oy = static_cast<std::int32_t>(d * std::sin(theta));
        for (std::int32_t x = area.left; x < area.right; ++x) {
            for (std::int32_t y = area.bottom - 1; y >= area.top; --y) {
                const Rgb s = pixelAt(source, x, y);
                if (s.red == 0 && s.green == 0 && s.blue == 0) continue;
                const bool swapped = swapNow;
                std::int64_t tx = x + ox, ty = y - oy;
                if (jitter != 0) {
                    const std::int64_t s1 = step12(seed);
                    const std::int64_t s2 = step12(seed);
                    tx += s1 * jitter / 200000;
                    ty -= s2 * jitter / 200000;
                }
                if (tx < 0 || tx >= image.width) {
                    if (e.wrap == 0) continue;
                    while (tx < 0)
                        tx += image.width;
                    while (tx >= image.width)
                        tx -= image.width;
                }
                if (ty < 0 || ty >= image.height) continue;
                Rgb t = pixelAt(image, std::int32_t(tx), std::int32_t(ty));
                t.blue = added(t.blue, s.blue, f);
                t.green = added(t.green, swapped ? s.red : s.green, f);
                t.red = added(t.red, swapped ? s.green : s.red, f);
                setPixel(image, std::int32_t(tx), std::int32_t(ty), t);
            }
        }
        d = d + float(e.hop) + float((e.mul / 5 + 1) * k * e.mul) / 15.0f;
        if (d < 0.5f) break;
        theta = theta + turn;
        f = f + float(e.fade) / 300.0f;
        if (e.alt != 0) swapNow = !swapNow;
    }
}

}  // namespace lumetra::testing
