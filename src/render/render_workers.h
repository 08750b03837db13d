#pragma once
// How renders use the processor: the synthesis path (SSE2 or AVX2) and the helper threads that
// make slices beside the rendering thread. One set lives as long as the program (or the batch
// run): starting threads for every render would cost more than a small render.

#include <cstdint>
#include <memory>
#include <mutex>

namespace lumetra {

class RenderHelpers;

// The longest piece of a long slice, in frames: a few hundred kilobytes of working buffers.
inline constexpr std::int32_t kLongestPiece = 65536;

// The synthesis paths of this processor.
enum class SynthPath { Automatic, Sse2, Avx2 };
bool synthPathAvailable(SynthPath path);

class RenderWorkers {
  public:
    RenderWorkers();
    ~RenderWorkers();
    RenderWorkers(const RenderWorkers&) = delete;
    RenderWorkers& operator=(const RenderWorkers&) = delete;

    // Automatic (the default) takes the best path available; tests and benchmarks may pin one.
    void setSynthPath(SynthPath path);
    SynthPath activeSynthPath() const;
    // -1 (the default): one helper per further processor (at most three), for renders large
    // enough to gain from them; 0: none; n: n helpers for every render.
    void setHelpers(int helpers);

    // The longest piece a long slice is made in (frames, a multiple of 8); tests shorten it to
    // make many pieces of small renders.
    void setLongestPiece(std::int32_t frames) { longestPiece_ = frames; }
    std::int32_t longestPiece() const { return longestPiece_; }

    // The helpers for a render of `rows` rows and `samplesPerPixel` frames per slice, held until
    // give(); null when the render goes without (too small, one processor, none wanted, or the
    // helpers are held by a render on another thread).
    RenderHelpers* take(std::int32_t rows, std::int32_t samplesPerPixel);
    void give(RenderHelpers* helpers);

  private:
    SynthPath path_ = SynthPath::Automatic;
    int helpers_ = -1;
    std::int32_t longestPiece_ = kLongestPiece;
    std::mutex lock_;
    std::unique_ptr<RenderHelpers> kept_;
};

}  // namespace lumetra
