#pragma once
// How renders use the processor: the synthesis path (SSE2, AVX2 or AVX-512) and the helper
// threads that make slices beside the rendering thread. One set lives as long as the program (or
// the batch run): starting threads for every render would cost more than a small render. The
// picture tools borrow the same threads for their large pixel loops.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace lumetra {

class RenderHelpers;

// The longest piece of a long slice, in frames: a few hundred kilobytes of working buffers.
inline constexpr std::int32_t kLongestPiece = 65536;

// The synthesis paths of this processor.
enum class SynthPath { Automatic, Sse2, Avx2, Avx512 };
bool synthPathAvailable(SynthPath path);
// "SSE2", "AVX2" or "AVX-512" (Automatic: the widest of this processor).
const char* synthPathName(SynthPath path);

class RenderWorkers {
  public:
    RenderWorkers();
    ~RenderWorkers();
    RenderWorkers(const RenderWorkers&) = delete;
    RenderWorkers& operator=(const RenderWorkers&) = delete;

    // Automatic (the default) takes the fastest path available; tests and benchmarks may pin
    // one. Where the processor has AVX-512, its loops and the AVX2 ones are timed against each
    // other once (about a millisecond): some processors run 512-bit vectors at half the rate,
    // and there the AVX2 loops are faster. Every path gives the same values.
    void setSynthPath(SynthPath path);
    SynthPath activeSynthPath();
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

    // Runs work(part) once for every part 0 .. parts - 1 and returns when all are done. The
    // calling thread and the helpers take the parts in turn, so the parts must not depend on each
    // other's results. All go on the calling thread when no helper is wanted or the helpers are
    // held, also by a render the caller is itself inside.
    void runParts(int parts, const std::function<void(int part)>& work);

  private:
    struct HelpersHold;
    RenderHelpers* takeHelpers(int helpers);

    SynthPath path_ = SynthPath::Automatic;
    SynthPath fastest_ = SynthPath::Automatic;  // Automatic until timed
    int helpers_ = -1;
    std::atomic<bool> held_{false};  // not a mutex: the holder's own thread may ask again
    std::int32_t longestPiece_ = kLongestPiece;
    std::unique_ptr<RenderHelpers> kept_;
};

}  // namespace lumetra
