#include "tools/echord_series.h"

#include <cmath>

#include "base/float_conversion.h"

namespace lumetra {
namespace {

constexpr float kTwoPi = 6.28318530717958647692f;

}  // namespace

// Products are taken in 64 bits or double: stored patches can hold any 32-bit values, and for
// the dialog's ranges the results are the same exact small integers.
EchordSeries::EchordSeries(const EchordSettings& settings)
    : s_(settings),
      distance_(float(settings.hop1 != 0 ? settings.hop1 : settings.hop)),
      direction_(float(90 - std::int64_t(settings.angle)) * (1.0f / 360.0f) * kTwoPi),
      turn_(float(-std::int64_t(settings.warp)) * (1.0f / 3600.0f) * kTwoPi),
      fade_(float(settings.fade1 != 0 ? settings.fade1 : settings.fade) * 0.01f),
      swap_(settings.swap != 0) {}

EchordCopy EchordSeries::next(std::int32_t k, RandomSeed& seed) {
    if (s_.rand != 0) {
        const double step = double(k) * s_.rand * double(echordDraw(seed));
        distance_ = distance_ + float(step) * 0.00002f;
    }
    scatter_ += s_.jitter;
    const float dx = distance_ * std::cos(direction_);
    const float dy = distance_ * std::sin(direction_);
    return EchordCopy{truncToInt32(dx), truncToInt32(dy), scatter_, fade_, swap_};
}

bool EchordSeries::advance(std::int32_t k) {
    const double growth = double(s_.mul / 5 + 1) * k * s_.mul;
    distance_ = distance_ + float(s_.hop) + float(growth) / 15.0f;
    if (!(distance_ >= 0.5f)) return false;
    direction_ = direction_ + turn_;
    fade_ = fade_ + float(s_.fade) / 300.0f;
    if (s_.alt != 0) swap_ = !swap_;
    return true;
}

bool EchordSeries::spent() const {
    return fade_ >= 1.0f && s_.fade >= 0;
}

}  // namespace lumetra
