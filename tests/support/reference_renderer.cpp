#include "reference_renderer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/float_conversion.h"
#include "document/document_render.h"
#include "render/oscillators.h"
#include "render/playback_sound.h"
#include "render/render_engine.h"
#include "render/render_steps.h"
#include "render/sine_table.h"
#include "render/soundfile_naming.h"
#include "render/wav_output.h"

namespace lumetra::testing {

namespace {

struct Pixel {
    std::int32_t blue = 0, green = 0, red = 0;
};

Pixel pixelOf(const PixelImage& pixels, std::int32_t memoryRow, std::int32_t x) {
    const std::uint8_t* p = pixels.memoryRow(memoryRow) + 3 * std::size_t(x);
    return Pixel{p[0], p[1], p[2]};
}

std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t draw(RandomSeed& seed) {
    return static_cast<std::int32_t>(nextRandom(seed));
}

// The noise step of one frame: changes D and p.
void noiseStep(NoiseState& ns, RandomSeed& seed, std::int32_t s, float d0, double aB,
               std::uint32_t i, const SineTable& table, float& d, std::uint32_t& p) {
    // 1. amplitude segment
    const std::int32_t oldAmp = ns.ampCount;
    ns.ampCount = oldAmp - 1;
    if (oldAmp <= 0) {
        ns.ampCount =
            saturateToInt32(std::int64_t{draw(seed) >> 8} % (ns.ampBase / 2) + ns.ampBase);
        const std::int64_t target = static_cast<std::uint32_t>(draw(seed)) >> 16;
        ns.ampStep = static_cast<std::int32_t>((target - ns.ampLevel / s) * s / ns.ampCount);
    }
    // 2.
    ns.ampLevel = wrapAdd(ns.ampLevel, ns.ampStep);
    // 3.
    d = static_cast<float>(d0 +
                           ns.ampLevel * aB / static_cast<double>(std::int64_t{ns.ampDivisor} * s));
    // 4. frequency segment
    const std::int32_t oldFm = ns.fmCount;
    ns.fmCount = oldFm - 1;
    if (oldFm <= 0) {
        const std::int64_t fmBase = ns.fmBase < 2 ? 2 : ns.fmBase;
        ns.fmCount = saturateToInt32(std::int64_t{draw(seed) >> 8} % (fmBase / 2) + fmBase);
        const std::int64_t inc = i < 2 ? 2 : i;
        const std::int64_t target = std::int64_t{draw(seed) >> 8} % (inc / 2) + inc;
        const std::int32_t speed = truncToInt32(static_cast<float>(target) / ns.modScale);
        ns.modSlope = saturateToInt32((std::int64_t{speed} - ns.modInc) / ns.fmCount);
    }
    // 5. displace the phase by the wobble oscillator
    const std::int32_t entry = table.entries[static_cast<std::uint32_t>(ns.modPhase) / 32768];
    p = truncToPhase(entry / ns.modDepth * aB + p);
    ns.modPhase = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(ns.modPhase) + static_cast<std::uint32_t>(ns.modInc)) &
        kPhaseMask);
}

struct Slice {
    std::int32_t s;
    bool withBlue;
    const float* weights;  // null without soft sweeps
    float d0;
    const SineTable& table;
    RandomSeed& seed;
};

void stereoRow(const Slice& slice, float* acc, Pixel p0, Pixel p1, std::uint32_t& phase,
               std::uint32_t inc, NoiseState& ns) {
    const std::int32_t s = slice.s;
    double aR = static_cast<double>(p0.red) * s;
    double aG = static_cast<double>(p0.green) * s;
    double aB = static_cast<double>(p0.blue) * s;
    const double dR = p1.red - p0.red;
    const double dG = p1.green - p0.green;
    const double dB = p1.blue - p0.blue;
    float d = slice.d0;
    std::uint32_t p = phase;
    const std::uint32_t i = inc;
    const bool noise = slice.withBlue && (p0.blue != 0 || p1.blue != 0);
    for (std::int32_t k = 0; k < s; ++k) {
        const std::int32_t v = sineAt(slice.table, p);
        if (noise) noiseStep(ns, slice.seed, s, slice.d0, aB, i, slice.table, d, p);
        ns.modInc = wrapAdd(ns.modInc, ns.modSlope);
        acc[2 * k] += (v / d) * aR;
        acc[2 * k + 1] += (v / d) * aG;
        p = (p + i) & kPhaseMask;
        if (slice.weights) {
            const float w = slice.weights[k];
            aR += dR * w;
            aG += dG * w;
            aB += dB * w;
        } else {
            aR += dR;
            aG += dG;
            aB += dB;
        }
    }
    phase = p;
}

void monoRow(const Slice& slice, float* acc, Pixel p0, Pixel p1, std::uint32_t& phase,
             std::uint32_t inc) {
    const std::int32_t s = slice.s;
    double a = static_cast<double>(p0.red + p0.green) * s;
    const double d = (p1.red - p0.red) + (p1.green - p0.green);
    const float inverse = 1 / slice.d0;
    std::uint32_t p = phase;
    for (std::int32_t k = 0; k < s; ++k) {
        const std::int32_t v = sineAt(slice.table, p);
        acc[k] += v * inverse * a;
        p = (p + inc) & kPhaseMask;
        a += slice.weights ? d * slice.weights[k] : d;
    }
    phase = p;
}

std::int16_t clipped(float a) {
    if (a != a) return 0;
    if (a < -32768.0f) a = -32768.0f;
    if (a > 32767.0f) a = 32767.0f;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(a));
}

struct BusyFlag {
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    bool& flag_;
};

}  // namespace

int referenceRenderImage(RenderContext& context, ImageDocument& document, int command) {
    if (context.engineBusy) return 0;
    if (command < kRenderImage || command > kRenderSelectionWithoutBlue) return 0;
    BusyFlag busy(context.engineBusy);
    RenderHost& host = context.host;
    UserInterface& ui = context.ui;
    const RenderPicture picture = renderPicture(document);
    const PixelImage& pixels = picture.pixels;
    RenderSettings& settings = picture.settings;

    // 1.
    const bool withBlue = command == kRenderImage || command == kRenderSelection;
    const bool selection = command == kRenderSelection || command == kRenderSelectionWithoutBlue;
    // 2.
    prepareOscillators(settings, context.sound);
    const std::int32_t width = pixels.width;
    const std::int32_t height = pixels.height;
    const std::int32_t s = settings.samplesPerPixel;
    const std::int32_t stereo = context.sound.stereo;
    const std::int32_t c = stereo + 1;
    const std::int32_t rate = context.sound.sampleRate;
    // 3.
    const Rect region = renderRegion(width, height, picture.selection, selection);
    const std::int32_t first = region.left;
    const std::int32_t last = region.right;
    const std::int32_t lowRow = height - region.bottom;
    const std::int32_t highRow = height - region.top;  // exclusive
    const std::int64_t n = std::int64_t{last} - first + 1;
    const std::int64_t total = n * c * s;
    // 4.
    const double normaliser = computeNormaliser(ui, pixels, region, settings.ampFactor);
    if (refuseRender(ui, normaliser, s, total)) return 0;
    // 5.
    const float d0 = static_cast<float>(normaliser * (2 - stereo) * s);
    // 6.
    if (settings.softSweeps && !buildSoftSweepTable(ui, context.softSweep, s)) return 0;
    const float* weights = settings.softSweeps ? context.softSweep.weights.data() : nullptr;
    // 7.
    if (!makeSoundfileName(context, picture.displayName)) return 0;
    context.renderInProgress = true;
    // 8.
    for (std::int32_t r = 0; r < height; ++r)
        settings.rowPhases[r] = nextRandom(context.seed) & kPhaseMask;
    // 9.
    std::int64_t chunkSize = renderChunkSize(s, total);
    // 10.
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(chunkSize));
    std::vector<float> acc(static_cast<std::size_t>(c) * s, 0.0f);
    PlaybackSound& sound = context.playback;
    sound.renderedRect = region;
    std::int64_t done = 0;
    int result = 1;
    double elapsed = 0.0;
    const bool prepared = preparePlaybackSound(context, picture, total) != 0;
    std::uint32_t startTick = 0;
    if (prepared) {
        // 11.
        ui.setStatusText(0, generatingText(static_cast<double>(n) * s / rate));
        ui.setStatusText(2, "");
        startTick = context.clock.tickCount();
        // 12.
        const Slice slice{s, withBlue, weights, d0, context.sine, context.seed};
        std::size_t fill = 0;
        for (std::int32_t x = first; x <= last; ++x) {
            // 12.1
            for (std::int32_t r = lowRow; r < highRow; ++r) {
                const Pixel p0 = x - 1 >= first ? pixelOf(pixels, r, x - 1) : Pixel{};
                const Pixel p1 = x < last ? pixelOf(pixels, r, x) : Pixel{};
                if (p0.green == 0 && p0.red == 0 && p1.green == 0 && p1.red == 0) continue;
                if (stereo)
                    stereoRow(slice, acc.data(), p0, p1, settings.rowPhases[r],
                              settings.rowIncrements[r], settings.noiseStates[r]);
                else
                    monoRow(slice, acc.data(), p0, p1, settings.rowPhases[r],
                            settings.rowIncrements[r]);
            }
            // 12.2
            for (float& a : acc) {
                chunk[fill++] = clipped(a);
                a = 0.0f;
            }
            // 12.3
            if (static_cast<std::int64_t>(fill) == chunkSize) {
                bool stop = false;
                if (context.soundfile.isOpen()) {
                    const std::size_t written =
                        context.soundfile.write(std::span(chunk.data(), fill));
                    if (written < fill) {
                        const SystemError error = context.files.lastError();
                        const bool keep = ui.askYesNo(
                            writeErrorQuestion(context.soundfile.path(), error.code, error.text),
                            kSoundfileErrorCaption);
                        finishSoundfile(context, keep ? context.soundfile.valuesWritten() : 0);
                        stop = !sound.hasBuffer();
                    }
                }
                if (stop) {
                    result = 0;
                    break;
                }
                if (sound.hasBuffer())
                    std::copy(chunk.begin(), chunk.begin() + fill, sound.samples.begin() + done);
                done += chunkSize;
                if (total - done < chunkSize) chunkSize = total - done;
                fill = 0;
            }
            // 12.4
            if (host.isEscapeHeld()) {
                sound.renderedRect.right = x;
                result = 0;
                break;
            }
            // 12.5
            ui.setStatusText(1, progressText(x, width));
            host.updateStatusBar();
            // 12.6
            host.pumpOneMessage();
        }
    }
    // 13. A file that cannot be completed is a write error.
    const bool fileComplete = finishSoundfile(context, done);
    context.renderInProgress = false;
    // 14.
    if (prepared)
        elapsed = static_cast<std::uint32_t>(context.clock.tickCount() - startTick) * 0.001;
    // 15.
    const double seconds = static_cast<double>(done) / c / rate;
    if (fileComplete)
        ui.setStatusText(0,
                         generatedText(seconds, context.soundfileOptions.saveSoundEveryRender != 0,
                                       context.soundfile.path()));
    else
        ui.setStatusText(0, writeErrorText(context.soundfile.path()));
    ui.setStatusText(1, renderTimeText(elapsed, seconds));
    // 16.
    if (done == total) recordRender(document.current, command, elapsed, context.clock.localTime());
    // 17.
    if (sound.hasBuffer()) finishPlaybackSound(sound, done);
    // 18.
    return fileComplete || sound.hasBuffer() ? result : 0;
}

}  // namespace lumetra::testing
