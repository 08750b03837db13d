// The production renderer (SSE2, AVX2 and AVX-512 loops, alone and with helper threads) against the
// plain reference: every sample, the soundfile, the phases, the noise states, the random seed and
// the status texts must be equal.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "document/document_render.h"
#include "reference_renderer.h"
#include "render/render_engine.h"
#include "render/render_helpers.h"
#include "render/synth_kernels.h"
#include "render_rig.h"

namespace lumetra::testing {
namespace {

struct Case {
    std::int32_t width = 24, height = 12;
    int command = kRenderImage, stereo = 1, softSweeps = 0;
    Rect selection{};
    PictureRecipe recipe{};
    std::uint32_t pictureSeed = 1;
    std::int32_t sampleRate = 22050, noiseBandwidth = 15;
    double outputTime = 0.05, low = 50.0, high = 8000.0, ampFactor = 10.0;
    bool soundfile = false;
    int escapeAt = 0;                  // Esc found held at this column's query (0: never)
    std::int64_t failAfterBytes = -1;  // soundfile writes come up short after this many bytes
    bool failReplace = false;          // the finished soundfile cannot replace its target
    std::int32_t longestPiece = kLongestPiece;  // columns longer than this are made in pieces
};

struct Outcome {
    int result = -1;
    std::vector<std::int16_t> samples;
    std::uint32_t seed = 0;
    std::vector<std::uint32_t> phases;
    std::vector<std::uint8_t> noise;  // the noise states' bytes
    std::vector<std::pair<int, std::string>> status;
    std::map<std::string, std::vector<std::uint8_t>> files;
    RenderInfoBytes info{};
    Rect rendered;
};

using RenderFunction = std::function<int(RenderContext&, ImageDocument&, int)>;

Outcome run(const Case& c, const RenderFunction& render, RenderWorkers* workers = nullptr) {
    RenderRig rig(workers);
    rig.sound.stereo = c.stereo, rig.sound.sampleRate = c.sampleRate;
    rig.soundfiles.saveSoundEveryRender = c.soundfile ? 1 : 0, rig.host.escapeAtQuery = c.escapeAt;
    rig.files.failAfterBytes = c.failAfterBytes;
    if (c.failReplace) rig.files.fail(FileCall::Replace);
    RenderSettings settings;
    settings.outputTime = c.outputTime, settings.lowFrequency = c.low,
    settings.highFrequency = c.high;
    settings.softSweeps = c.softSweeps, settings.noiseBandwidth = c.noiseBandwidth;
    settings.ampFactor = c.ampFactor;
    settings.samplesPerPixel = 7;  // as left by an earlier preparation (sets the noise depth)
    ImageDocument document = makeDocument(c.width, c.height, settings);
    fillRandom(document.current.pixels, c.pictureSeed, c.recipe);
    document.current.selection = c.selection, document.displayName = "case.bmp";
    const int result = render(rig.context, document, c.command);
    const RenderSettings& made = document.current.settings;
    const auto* noise = reinterpret_cast<const std::uint8_t*>(made.noiseStates.data());
    return {result,
            rig.playback.samples,
            rig.seed.value,
            made.rowPhases,
            {noise, noise + made.noiseStates.size() * sizeof(NoiseState)},
            rig.ui.statusLog,
            rig.files.files,
            encodeRenderInfo(document.current.renderInfo),
            rig.playback.renderedRect};
}

// How many compared renders made sound, how many values were not 0 and how many were clipped
// (loud pictures clip instead of wrapping): the cases must really exercise the loops they claim to.
int soundingRenders = 0, nonZeroValues = 0, clippedValues = 0;
int latestNonZeroValues = 0;  // of the latest case

void expectAgreement(const Case& c, const std::string& label) {
    const Outcome reference = run(c, referenceRenderImage);
    soundingRenders += !reference.samples.empty(), latestNonZeroValues = 0;
    for (std::int16_t v : reference.samples)
        latestNonZeroValues += v != 0, clippedValues += v == 32767 || v == -32768;
    nonZeroValues += latestNonZeroValues;
    // Every instruction set this processor has, on one thread and on three sharing the slices
    // unevenly.
    for (const SynthPath path : {SynthPath::Sse2, SynthPath::Avx2, SynthPath::Avx512})
        for (const int helpers : {0, 2}) {
            if (!synthPathAvailable(path)) continue;
            RenderWorkers workers;
            workers.setSynthPath(path), workers.setHelpers(helpers);
            workers.setLongestPiece(c.longestPiece);
            const Outcome made = run(c, renderDocument, &workers);
            SCOPED_TRACE(label + " (" + synthPathName(path) + ", " + std::to_string(helpers) +
                         " helpers)");
            EXPECT_EQ(made.result, reference.result);
            ASSERT_EQ(made.samples.size(), reference.samples.size());
            const auto at =
                std::mismatch(made.samples.begin(), made.samples.end(), reference.samples.begin());
            EXPECT_TRUE(at.first == made.samples.end())
                << "first different value at " << at.first - made.samples.begin() << ": "
                << *at.first << " vs " << *at.second;
            EXPECT_EQ(
                std::tie(made.seed, made.phases, made.noise, made.rendered),
                std::tie(reference.seed, reference.phases, reference.noise, reference.rendered));
            EXPECT_EQ(made.status, reference.status);
            EXPECT_EQ(made.files, reference.files);
            EXPECT_EQ(made.info, reference.info);
        }
}

// Every command, mono and stereo, soft and straight sweeps (the first 16 cases take each in turn).
TEST(RenderHelpers, EveryHelperRunsTheWorkOncePerStart) {
    for (int count : {0, 1, 3}) {
        RenderHelpers helpers(count);
        ASSERT_EQ(helpers.threads(), count + 1);
        for (int round = 0; round < 50; ++round) {
            std::vector<std::atomic<int>> ran(static_cast<std::size_t>(count + 1));
            helpers.start([&](int thread) { ran[static_cast<std::size_t>(thread)].fetch_add(1); });
            helpers.finish();
            EXPECT_EQ(ran[0].load(), 0);
            for (int t = 1; t <= count; ++t)
                ASSERT_EQ(ran[static_cast<std::size_t>(t)].load(), 1) << count << " " << t;
        }
    }
}

TEST(RenderAgreement, ManyRandomPictures) {
    std::mt19937 random(20240503);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int i = 0; i < 60; ++i) {
        Case c{.width = pick(1, 40), .height = pick(1, 30), .command = kRenderImage + i % 4};
        c.stereo = i < 16 ? i / 4 % 2 : pick(0, 3) != 0, c.softSweeps = i < 16 ? i / 8 : pick(0, 1);
        c.sampleRate = std::array<int, 4>{8000, 11025, 22050, 44100}[pick(0, 3)];
        c.outputTime = 0.01 + 0.002 * pick(0, 40);  // odd and even slice lengths
        c.low = 20.0 + pick(0, 200), c.high = c.low + 100.0 + pick(0, 20000);
        c.noiseBandwidth = pick(0, 15);
        c.ampFactor = 0.5 + 0.5 * pick(0, 60);  // up to loud enough to clip
        c.recipe.litShare = 0.2 + 0.2 * pick(0, 4), c.recipe.blue = pick(0, 3) != 0;
        c.recipe.blueShare = 0.3 * pick(1, 3), c.pictureSeed = static_cast<std::uint32_t>(i + 100);
        const int left = pick(0, c.width - 1), top = pick(0, c.height - 1);
        c.selection = Rect{left, top, pick(left + 1, c.width), pick(top + 1, c.height)};
        c.soundfile = pick(0, 1) == 1;
        expectAgreement(c, "random case " + std::to_string(i));
    }
    EXPECT_GT(soundingRenders, 50);
    EXPECT_GT(nonZeroValues, 10000);
    EXPECT_GT(clippedValues, 100);
}

// Renders that end early, while helper threads may still be making later slices: the sound,
// phases, noise states and seed are those of the columns up to the end, as on one thread.
TEST(RenderAgreement, EscapeAndWriteErrorsMidway) {
    Case c{.width = 90, .height = 40, .outputTime = 0.4};  // long enough slices to hand to helpers
    c.recipe.blue = true, c.recipe.litShare = 0.8;
    for (const int escapeAt : {1, 7, 33, 89}) {
        c.escapeAt = escapeAt;
        c.soundfile = escapeAt > 7;  // whole chunks written, the rest dropped
        expectAgreement(c, "Esc at column " + std::to_string(escapeAt));
    }
    c.escapeAt = 0;
    for (const std::int64_t bytes : {std::int64_t{100}, std::int64_t{20000}}) {
        c.failAfterBytes = bytes;
        expectAgreement(c, "write error after " + std::to_string(bytes) + " bytes");
    }
    c.failAfterBytes = -1, c.failReplace = true;
    expectAgreement(c, "the finished soundfile cannot replace its target");
}

// Columns longer than a piece are made piece by piece: glides, soft sweeps, phases, noise counters
// and their draws go on across the boundaries (short pieces, and one real piece and a bit).
TEST(RenderAgreement, LongColumnsInPieces) {
    const std::tuple<std::int32_t, double, int, int, int> rows[] = {
        {8, 0.02, 1, 0, kRenderImage},
        {40, 0.05, 1, 1, kRenderImage},
        {64, 0.1, 0, 1, kRenderImage},
        {24, 0.05, 1, 0, kRenderSelection},
        {56, 0.07, 1, 1, kRenderWithoutBlue},
        {kLongestPiece, 13.0, 1, 1, kRenderImage}};  // 71662 frames per column
    for (const auto& [piece, time, stereo, softSweeps, command] : rows) {
        Case c{.width = piece == kLongestPiece ? 3 : 13, .height = 9, .command = command};
        c.stereo = stereo, c.softSweeps = softSweeps, c.longestPiece = piece, c.outputTime = time;
        c.selection = Rect{1, 2, 9, 8}, c.recipe.blue = true, c.recipe.litShare = 0.7;
        c.soundfile = stereo == 1;
        expectAgreement(c, "pieces of " + std::to_string(piece) + ", " + std::to_string(time));
        EXPECT_GT(latestNonZeroValues, 0);
    }
}

TEST(RenderAgreement, DegenerateNoiseRows) {
    // fmBase 0 on the top rows; pitches below 2 Hz; a low of 0 (still sounding, as does one row);
    // increments of 0 and 1 in the lowest rows; one pitch for all rows.
    const std::tuple<const char*, std::int32_t, double, double, bool> cases[] = {
        {"wide rows", 20, 50.0, 8000.0, false}, {"sub-audio rows", 20, 0.3, 5.0, false},
        {"low of 0", 20, 0.0, 5.0, true},       {"tiny increments", 20, 1e-5, 100.0, false},
        {"one row", 1, 100.0, 100.0, true},     {"one pitch", 8, 1.0, 1.0, false}};
    for (const auto& [label, height, low, high, sounds] : cases) {
        Case c{.height = height, .low = low, .high = high};
        c.recipe.blue = true;
        expectAgreement(c, label);
        EXPECT_TRUE(!sounds || latestNonZeroValues > 0) << label;
    }
}

}  // namespace
}  // namespace lumetra::testing

// The tone rows multiply instead of dividing only where that gives the bits of the quotient for
// every sine value (checked with the loops' own instructions): found for ordinary divisors,
// refused where there is no usable reciprocal, never taken without fused multiply-adds.
TEST(RenderAgreement, ExactReciprocalOnlyWhereItHolds) {
    using namespace lumetra;
    const std::pair<SynthPath, const synth::Kernels& (*)()> paths[] = {
        {SynthPath::Avx2, synth::avx2Kernels}, {SynthPath::Avx512, synth::avx512Kernels}};
    for (const auto& [path, kernels] : paths) {
        if (!synthPathAvailable(path)) continue;
        for (const float divisor : {1.0f, 3.0f, 7.0f, 734.0f * 255 * 40.5f, 1.0e7f, 123456.789f})
            EXPECT_EQ(kernels().exactReciprocal(divisor), 1.0f / divisor)
                << synthPathName(path) << " " << divisor;
        for (const float divisor : {0.0f, std::numeric_limits<float>::infinity(),
                                    std::numeric_limits<float>::quiet_NaN(), 1.0e-40f})
            EXPECT_EQ(kernels().exactReciprocal(divisor), 0.0f)
                << synthPathName(path) << " " << divisor;
    }
    EXPECT_EQ(synth::sse2Kernels().exactReciprocal(3.0f), 0.0f);
}
