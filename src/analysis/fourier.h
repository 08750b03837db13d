#pragma once
// A complex fast Fourier transform of a power-of-two size, in place on separate real and
// imaginary arrays. Twiddles are kept stage by stage so that every butterfly loop reads them in
// order.

#include <cstdint>
#include <vector>

namespace lumetra {

class FourierTransform {
  public:
    explicit FourierTransform(std::int32_t size);  // size: a power of two, at least 2
    std::int32_t size() const { return size_; }
    // X[k] = sum x[n] e^(-2 pi i n k / size), in place.
    void forward(float* re, float* im) const;

  private:
    std::int32_t size_;
    std::vector<std::uint32_t> reversed_;
    std::vector<float> cos_, sin_;  // stage with h butterflies per group: entries h .. 2h - 1
};

}  // namespace lumetra
