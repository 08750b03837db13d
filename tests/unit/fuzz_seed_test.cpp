// The seed corpus of the fuzz targets (tests/fuzz): small valid files of every kind the readers
// take. scripts/fuzz.sh runs this test with LUMETRA_FUZZ_CORPUS set to the folder to fill.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "analysis/wav_reader.h"
#include "base/file_io.h"
#include "base/standard_file_system.h"
#include "bmp_test_files.h"
#include "document/document_render.h"
#include "document/image_save.h"
#include "document/render_info_file.h"
#include "document/render_info_trailer.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "wav_test_files.h"

namespace lumetra {
namespace {

using testing::packRows;
using testing::palette;
using Bytes = std::vector<std::uint8_t>;
using Seeds = std::map<std::string, Bytes>;

CanvasImage renderedPicture() {
    CanvasImage image = testing::patternPicture(5, 3);
    image.selection = Rect{1, 0, 4, 2};
    recordRender(image, 301, 0.42, LocalTime{2022, 2, 3, 4, 5, 6, 7, 8});
    return image;
}

// A BMP file with a colour count that names every colour of its table.
Bytes bmp(std::uint32_t header, std::int32_t width, std::int32_t height, int bits,
          std::uint32_t compression, std::vector<Rgb> colours, std::vector<std::uint8_t> pixels,
          std::vector<std::uint32_t> masks = {}) {
    const auto count = static_cast<std::uint32_t>(colours.size());
    return testing::makeBmp({header, width, height, std::uint16_t(bits), compression, count,
                             std::move(colours), std::move(masks), std::move(pixels)});
}

Seeds bmpSeeds() {
    const std::vector<std::vector<std::uint32_t>> indices = {{0, 1, 0}, {1, 1, 0}};
    const auto p16 = packRows({{0x7FFF, 0x1F, 0x3E0}, {0, 0x7C00, 1}}, 16);
    Seeds seeds = {
        {"palette1.bmp", bmp(40, 3, 2, 1, 0, palette(2), packRows(indices, 1))},
        {"palette4.bmp", bmp(40, 3, 2, 4, 0, palette(4), packRows(indices, 4))},
        {"palette8.bmp", bmp(40, 3, 2, 8, 0, palette(4), packRows(indices, 8))},
        {"rgb555.bmp", bmp(40, 3, -2, 16, 0, {}, p16)},
        {"rgb565.bmp", bmp(40, 3, -2, 16, 3, {}, p16, {0xF800, 0x07E0, 0x001F})},
        {"v5-bitfields32.bmp",
         bmp(124, 2, 2, 32, 3, {}, packRows({{0xFF0000, 0xFF00}, {0xFF, 0xFFFFFF}}, 32),
             {0xFF0000, 0xFF00, 0xFF})},
        {"rgb24-table.bmp", bmp(40, 1, 1, 24, 0, palette(2), packRows({{0x332211}}, 24))},
        {"core4.bmp", bmp(12, 3, 2, 4, 0, palette(16), packRows(indices, 4))},
        {"rle8.bmp",
         bmp(40, 6, 3, 8, 1, palette(4), {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 2, 3, 0, 1})},
        {"rle4.bmp", bmp(40, 5, 2, 4, 2, palette(4), {5, 0x12, 0, 0, 0, 3, 0x23, 0x10, 0, 1})},
    };
    seeds["saved24.bmp"] = encodeBmpFile(renderedPicture(), false);
    return seeds;
}

Seeds trailerSeeds() {
    const Bytes appended = encodeBmpFile(renderedPicture(), true);
    Bytes stale = appended, cut = appended;
    stale[stale.size() - 164 + 8] = 100;  // version 100
    cut.resize(cut.size() - 10);
    return {{"appended.bmp", appended}, {"stale-version.bmp", stale}, {"short-trailer.bmp", cut}};
}

// The fuzz target reads the picture size from the first two bytes.
Seeds infoSeeds() {
    const auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    const CanvasImage image = renderedPicture();
    RenderInfoRecord analysis = image.renderInfo;
    analysis.command = 104;
    analysis.flags = 4 | 16;
    analysis.sourceName = {'a', '.', 'w', 'a', 'v'};
    const std::string size("\x05\x03", 2);
    return {{"render.info", bytes(size + formatRenderInfoText(image.renderInfo, image.settings))},
            {"crlf.info", bytes(size + "SIZE 5, 3\r\nPARMS 20, 900, 2, 1\r\nsel 0,0,5,3\r\n")},
            {"analysis.info", bytes(size + formatRenderInfoText(analysis, image.settings))}};
}

Seeds wavSeeds() {
    using testing::makeWav;
    return {{"pcm8.wav", makeWav({.tag = 1, .channels = 1, .bits = 8})},
            {"pcm24-listed.wav",
             makeWav({.tag = 1, .channels = 2, .bits = 24, .chunkBeforeFormat = true})},
            {"float64.wav", makeWav({.tag = 3, .channels = 3, .bits = 64})},
            {"extensible.wav", makeWav({.tag = 3, .channels = 2, .bits = 32, .extensible = true})},
            {"open-data.wav", makeWav({.bits = 16, .dataSize = 0})}};
}

TEST(FuzzSeeds, AreValidFilesAndAreWrittenOnRequest) {
    const Seeds bmp = bmpSeeds(), trailer = trailerSeeds(), info = infoSeeds(), wav = wavSeeds();
    // The same pictures as packed blocks (the clipboard's form), whose pixels start right behind
    // the headers, the masks and the colour table: read as from the files.
    Seeds dib;
    for (const auto& [name, bytes] : bmp) {
        const BmpReadResult file = decodeBmp(bytes);
        const Bytes& packed = dib[name.substr(0, name.size() - 4) + ".dib"] =
            Bytes(bytes.begin() + 14, bytes.end());
        const BmpReadResult block = decodeDib(packed);
        ASSERT_TRUE(file.pixels && block.pixels) << name;
        EXPECT_EQ(block.pixels->bytes, file.pixels->bytes) << name;
    }
    EXPECT_EQ(findRenderInfoTrailer(trailer.at("appended.bmp"), 54 + 48).kind, TrailerKind::Found);
    EXPECT_EQ(findRenderInfoTrailer(trailer.at("stale-version.bmp"), 54 + 48).kind,
              TrailerKind::Stale);
    for (const auto& [name, bytes] : info) {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 2,
                                    bytes.size() - 2);
        EXPECT_EQ(parseRenderInfoText(text, 5, 3).accepted & 3u, 3u) << name;
    }
    for (const auto& [name, bytes] : wav) {
        Sound sound;
        std::string message;
        EXPECT_TRUE(decodeWav(bytes, sound, message)) << name << ": " << message;
    }
    const char* folder = std::getenv("LUMETRA_FUZZ_CORPUS");
    if (!folder) return;
    StandardFileSystem files;
    const std::pair<const char*, const Seeds*> targets[] = {{"bmp_reader", &bmp},
                                                            {"dib_reader", &dib},
                                                            {"render_info_trailer", &trailer},
                                                            {"info_reader", &info},
                                                            {"wav_reader", &wav}};
    for (const auto& [target, seeds] : targets) {
        const std::filesystem::path root = std::filesystem::path(folder) / target;
        std::filesystem::create_directories(root);
        for (const auto& [name, bytes] : *seeds)
            ASSERT_TRUE(replaceFileWith(files, root / name, {bytes})) << name;
    }
}

}  // namespace
}  // namespace lumetra
