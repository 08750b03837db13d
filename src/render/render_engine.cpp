#include "render/render_engine.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "render/oscillators.h"
#include "render/playback_sound.h"
#include "render/render_helpers.h"
#include "render/render_steps.h"
#include "render/sine_table.h"
#include "render/slice_pipeline.h"
#include "render/soundfile_naming.h"
#include "render/synth_kernels.h"
#include "render/wav_output.h"

namespace lumetra {

namespace {

// The render's hold on the helpers, given back however it ends.
struct HelpersLease {
    RenderWorkers& workers;
    RenderHelpers* helpers;
    ~HelpersLease() { workers.give(helpers); }
};

const synth::Kernels& activeKernels(RenderWorkers& workers) {
    switch (workers.activeSynthPath()) {
        case SynthPath::Avx512:
            return synth::avx512Kernels();
        case SynthPath::Avx2:
            return synth::avx2Kernels();
        default:
            return synth::sse2Kernels();
    }
}

// The region's pixels, copied column by column (red, green and blue planes of its rows) with a
// black column before the first and after the last. The render reads only this copy, so nothing
// that the message pump does to the picture meanwhile can pull memory from under it.
class ColumnPlanes {
  public:
    ColumnPlanes(const PixelImage& pixels, std::int32_t first, std::int32_t last,
                 std::int32_t lowRow, std::int32_t highRow)
        : rows_(std::max(highRow - lowRow, 0)), columns_(std::max(last - first, 0)) {
        data_.assign(static_cast<std::size_t>(columns_ + 2) * 3 * rows_, 0);
        for (std::int32_t r = 0; r < rows_; ++r) {
            const std::uint8_t* row = pixels.memoryRow(lowRow + r) + 3 * std::size_t(first);
            for (std::int32_t j = 0; j < columns_; ++j) {
                std::uint8_t* column = plane(j);
                column[r] = row[3 * j + 2];          // red
                column[rows_ + r] = row[3 * j + 1];  // green
                column[2 * rows_ + r] = row[3 * j];  // blue
            }
        }
    }
    // Column j of the region (-1 and columns() are black): red, green, blue planes of `rows`.
    const std::uint8_t* column(std::int32_t j) const {
        return data_.data() + static_cast<std::size_t>(j + 1) * 3 * rows_;
    }
    std::int32_t rows() const { return rows_; }

  private:
    std::uint8_t* plane(std::int32_t j) {
        return data_.data() + static_cast<std::size_t>(j + 1) * 3 * rows_;
    }
    std::int32_t rows_;
    std::int32_t columns_;
    std::vector<std::uint8_t> data_;
};

struct BusyFlag {
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;
    bool& flag_;
};

struct RenderPlan {
    bool withBlue = false;
    Rect region;
    std::int32_t first = 0, last = 0, lowRow = 0, highRow = 0;
    std::int32_t s = 0, channels = 0, rate = 0;
    std::int64_t slices = 0, total = 0;
};

// Step 12.3: a full chunk goes to the soundfile and the playback sound. False when a write error
// ends the render (the file is closed and there is no playback memory to go on into). A file the
// user keeps after a write error that then cannot be completed is reported as well.
bool storeChunk(RenderContext& context, const std::vector<std::int16_t>& chunk, std::int64_t count,
                std::int64_t done) {
    if (count == 0) return true;
    PlaybackSound& sound = context.playback;
    SoundfileOutput& file = context.soundfile;
    if (file.isOpen()) {
        const std::size_t wanted = static_cast<std::size_t>(count);
        if (file.write(std::span(chunk.data(), wanted)) < wanted) {
            const SystemError error = context.files.lastError();
            const bool keep = context.ui.askYesNo(
                writeErrorQuestion(file.path(), error.code, error.text), kSoundfileErrorCaption);
            finishSoundfile(context, keep ? file.valuesWritten() : 0);
            if (!sound.hasBuffer()) return false;
        }
    }
    if (sound.hasBuffer())
        std::memcpy(sound.samples.data() + done, chunk.data(),
                    static_cast<std::size_t>(count) * sizeof(std::int16_t));
    return true;
}

// Two chunks take turns: while one waits for its last slices, the next one fills, so that the
// helpers never run out of slices at the end of a chunk.
class ChunkPair {
  public:
    explicit ChunkPair(std::int64_t size)
        : chunks_{std::vector<std::int16_t>(static_cast<std::size_t>(size)),
                  std::vector<std::int16_t>(static_cast<std::size_t>(size))} {}

    std::vector<std::int16_t>& filling() { return chunks_[filling_]; }

    // The full chunk of `count` values, whose slices are the first `slicesEnd` handed over,
    // waits to be stored; the other one fills next (storeWaiting() must have emptied it).
    void hold(std::int64_t count, std::int64_t slicesEnd) {
        waiting_ = count;
        waitingSlicesEnd_ = slicesEnd;
        filling_ ^= 1;
    }

    // Stores the chunk that waits, once its slices are written; false after a write error that
    // ends the render.
    bool storeWaiting(RenderContext& context, SlicePipeline& slices, std::int64_t& done) {
        if (waiting_ == 0) return true;
        slices.waitFor(waitingSlicesEnd_);
        const std::int64_t count = std::exchange(waiting_, 0);
        if (!storeChunk(context, chunks_[filling_ ^ 1], count, done)) {
            failed_ = true;
            return false;
        }
        done += count;
        return true;
    }
    bool writeFailed() const { return failed_; }

  private:
    std::vector<std::int16_t> chunks_[2];
    int filling_ = 0;
    std::int64_t waiting_ = 0;
    std::int64_t waitingSlicesEnd_ = 0;
    bool failed_ = false;
};

}  // namespace

namespace {

int render(RenderContext& context, const RenderPicture& picture, int command) {
    RenderHost& host = context.host;
    UserInterface& ui = context.ui;
    const PixelImage& pixels = picture.pixels;
    RenderSettings& settings = picture.settings;

    RenderPlan plan;
    plan.withBlue = command == kRenderImage || command == kRenderSelection;
    const bool selection = command == kRenderSelection || command == kRenderSelectionWithoutBlue;
    prepareOscillators(settings, context.sound);
    const std::int32_t width = pixels.width;
    const std::int32_t height = pixels.height;
    plan.s = settings.samplesPerPixel;
    plan.channels = context.sound.stereo + 1;
    plan.rate = context.sound.sampleRate;
    plan.region = renderRegion(width, height, picture.selection, selection);
    plan.first = plan.region.left;
    plan.last = plan.region.right;
    plan.lowRow = height - plan.region.bottom;
    plan.highRow = height - plan.region.top;
    plan.slices = std::int64_t{plan.last} - plan.first + 1;
    plan.total = plan.slices * plan.channels * plan.s;

    const double normaliser = computeNormaliser(ui, pixels, plan.region, settings.ampFactor);
    if (refuseRender(ui, normaliser, plan.s, plan.total)) return 0;
    const float d0 = static_cast<float>(normaliser * (2 - context.sound.stereo) * plan.s);
    // A column longer than a piece is made piece by piece, with the weights of each piece made as
    // it comes: nothing of the render grows with the frames per column.
    const std::int32_t piece =
        pieceFramesFor(std::max(plan.highRow - plan.lowRow, 0), context.workers.longestPiece());
    const bool pieced = plan.s > piece;
    if (settings.softSweeps && !pieced && !buildSoftSweepTable(ui, context.softSweep, plan.s))
        return 0;

    if (!makeSoundfileName(context, picture.displayName)) return 0;
    context.renderInProgress = true;
    for (std::int32_t r = 0; r < height; ++r)
        settings.rowPhases[r] = nextRandom(context.seed) & kPhaseMask;

    std::int64_t chunkSize = renderChunkSize(pieced ? piece : plan.s, plan.total);
    PlaybackSound& sound = context.playback;
    sound.renderedRect = plan.region;
    std::int64_t done = 0;
    int result = 1;
    std::uint32_t startTick = 0;
    const bool prepared = preparePlaybackSound(context, picture, plan.total) != 0;
    if (prepared) {
        // Working copies: the pump may hand the picture to other commands while we render.
        const ColumnPlanes planes(pixels, plan.first, plan.last, plan.lowRow, plan.highRow);
        std::vector<std::uint32_t> phases(settings.rowPhases.begin() + plan.lowRow,
                                          settings.rowPhases.begin() + plan.highRow);
        const std::vector<std::uint32_t> increments(settings.rowIncrements.begin() + plan.lowRow,
                                                    settings.rowIncrements.begin() + plan.highRow);
        std::vector<NoiseState> noise(settings.noiseStates.begin() + plan.lowRow,
                                      settings.noiseStates.begin() + plan.highRow);
        ChunkPair chunks(chunkSize);

        const HelpersLease lease{context.workers, context.workers.take(planes.rows(), plan.s)};
        SliceSetup setup;
        setup.kernels = &activeKernels(context.workers);
        setup.helpers = lease.helpers;
        setup.phases = phases.data();
        setup.rows = planes.rows();
        setup.sine = &context.sine;
        setup.seed = &context.seed;
        setup.samplesPerPixel = plan.s;
        setup.pieceFrames = pieced ? piece : 0;
        setup.stereo = context.sound.stereo != 0;
        setup.withBlue = plan.withBlue;
        setup.softSweeps = settings.softSweeps != 0;
        setup.softWeights =
            settings.softSweeps && !pieced ? context.softSweep.weights.data() : nullptr;
        setup.d0 = d0;
        SlicePipeline slices(setup);

        ui.setStatusText(0, generatingText(static_cast<double>(plan.slices) * plan.s / plan.rate));
        ui.setStatusText(2, "");
        startTick = context.clock.tickCount();
        const std::int32_t rows = planes.rows();
        std::int64_t fill = 0;
        std::vector<SoundingRow> sounding;
        sounding.reserve(static_cast<std::size_t>(rows));
        const std::int32_t pieceFrames = slices.pieceFrames();
        for (std::int32_t x = plan.first; x <= plan.last && result == 1; ++x) {
            const std::uint8_t* previous = planes.column(x - plan.first - 1);
            const std::uint8_t* current = planes.column(x - plan.first);
            sounding.clear();
            for (std::int32_t r = 0; r < rows; ++r) {
                const RowPixels px{previous[2 * rows + r], previous[rows + r], previous[r],
                                   current[2 * rows + r],  current[rows + r],  current[r]};
                if ((px.red0 | px.green0 | px.red1 | px.green1) == 0) continue;
                sounding.push_back(SoundingRow{r, px});
            }
            if (pieced) slices.planNoiseDraws(sounding, noise.data());
            for (std::int32_t first = 0; first < plan.s; first += pieceFrames) {
                const std::int32_t frames = std::min(pieceFrames, plan.s - first);
                slices.beginSlice(chunks.filling().data() + fill, first, frames);
                for (const SoundingRow& row : sounding)
                    slices.addRow(row.pixels, row.index, increments[row.index], noise[row.index]);
                slices.endSlice();
                fill += std::int64_t{plan.channels} * frames;
                // The chunk goes out when the next piece would not fit, and at the very end.
                const bool lastPiece = first + frames == plan.s;
                const std::int64_t next =
                    lastPiece && x == plan.last
                        ? 0
                        : std::int64_t{plan.channels} *
                              (lastPiece ? std::min(pieceFrames, plan.s) : pieceFrames);
                if (next != 0 && fill + next <= chunkSize) continue;
                if (!chunks.storeWaiting(context, slices, done)) {
                    result = 0;
                    break;
                }
                chunks.hold(fill, slices.handedOver());
                fill = 0;
            }
            if (result != 1) break;
            if (host.isEscapeHeld()) {
                sound.renderedRect.right = x;
                result = 0;
                break;
            }
            ui.setStatusText(1, progressText(x, width));
            host.updateStatusBar();
            host.pumpOneMessage();
        }
        // The last full chunk, also of a render cut short by Esc (not after a write error).
        if (!chunks.writeFailed()) chunks.storeWaiting(context, slices, done);
        // The phases are final once every slice handed over is written out.
        slices.waitAll();
        if (settings.rowPhases.size() == static_cast<std::size_t>(height) &&
            settings.noiseStates.size() == static_cast<std::size_t>(height)) {
            std::copy(phases.begin(), phases.end(), settings.rowPhases.begin() + plan.lowRow);
            std::copy(noise.begin(), noise.end(), settings.noiseStates.begin() + plan.lowRow);
        }
    }
    // A soundfile that cannot be completed is a write error: the status bar names no file, and
    // a render whose only output was that file has made nothing.
    const bool fileComplete = finishSoundfile(context, done);
    if (!fileComplete && !sound.hasBuffer()) result = 0;
    context.renderInProgress = false;
    // Without playback memory no sample was made and nothing was timed.
    const double elapsed =
        prepared ? static_cast<std::uint32_t>(context.clock.tickCount() - startTick) * 0.001 : 0.0;

    const double seconds = static_cast<double>(done) / plan.channels / plan.rate;
    ui.setStatusText(
        0, fileComplete ? generatedText(seconds, context.soundfileOptions.saveSoundEveryRender != 0,
                                        context.soundfile.path())
                        : writeErrorText(context.soundfile.path()));
    ui.setStatusText(1, renderTimeText(elapsed, seconds));
    if (done == plan.total) {
        picture.renderInfo = makeRenderRecord(width, height, settings, picture.selection, command,
                                              elapsed, context.clock.localTime());
    }
    if (sound.hasBuffer()) finishPlaybackSound(sound, done);
    return result;
}

}  // namespace

int renderImage(RenderContext& context, const RenderPicture& picture, int command) {
    // A render command that reaches the window through our own message pump is ignored.
    if (context.engineBusy) return 0;
    if (command < kRenderImage || command > kRenderSelectionWithoutBlue) return 0;
    BusyFlag busy(context.engineBusy);
    try {
        return render(context, picture, command);
    } catch (const std::bad_alloc&) {
        // The working buffers of a huge render: nothing is kept of it, nothing else changes.
        if (context.soundfile.isOpen()) closeSoundfile(context.soundfile, 0);
        context.renderInProgress = false;
        context.ui.setStatusText(0, "Not enough memory to render this image!");
        return 0;
    }
}

}  // namespace lumetra
