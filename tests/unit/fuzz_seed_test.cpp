// The seed corpus of the fuzz targets (tests/fuzz): small valid files of every kind the readers
// take. scripts/fuzz.sh runs this test with LUMETRA_FUZZ_CORPUS set to the folder to fill.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "base/file_io.h"
#include "base/standard_file_system.h"
#include "bmp_test_files.h"
#include "document/document_render.h"
#include "document/image_save.h"
#include "document/render_info_file.h"
#include "document/render_info_trailer.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"

namespace lumetra {
namespace {

using testing::BmpFields;
using Seeds = std::map<std::string, std::vector<std::uint8_t>>;

using testing::palette;

CanvasImage renderedPicture() {
    CanvasImage image = testing::patternPicture(5, 3);
    image.selection = Rect{1, 0, 4, 2};
    recordRender(image, 301, 0.42, LocalTime{2022, 2, 3, 4, 5, 6, 7, 8});
    return image;
}

Seeds bmpSeeds() {
    Seeds seeds;
    const std::vector<std::vector<std::uint32_t>> indices = {{0, 1, 0}, {1, 1, 0}};
    for (int bits : {1, 4, 8}) {
        BmpFields fields{.width = 3, .height = 2, .bitCount = std::uint16_t(bits)};
        fields.colours = palette(bits == 1 ? 2 : 4);
        fields.colourCount = static_cast<std::uint32_t>(fields.colours.size());
        fields.pixels = testing::packRows(indices, bits);
        seeds["palette" + std::to_string(bits) + ".bmp"] = testing::makeBmp(fields);
    }
    BmpFields p16{.width = 3, .height = -2, .bitCount = 16};
    p16.pixels = testing::packRows({{0x7FFF, 0x1F, 0x3E0}, {0, 0x7C00, 1}}, 16);
    seeds["rgb555.bmp"] = testing::makeBmp(p16);
    p16.compression = 3;
    p16.masks = {0xF800, 0x07E0, 0x001F};
    seeds["rgb565.bmp"] = testing::makeBmp(p16);
    BmpFields v5{.headerSize = 124, .width = 2, .height = 2, .bitCount = 32, .compression = 3};
    v5.masks = {0xFF0000, 0xFF00, 0xFF};
    v5.pixels = testing::packRows({{0xFF0000, 0xFF00}, {0xFF, 0xFFFFFF}}, 32);
    seeds["v5-bitfields32.bmp"] = testing::makeBmp(v5);
    BmpFields core{
        .headerSize = 12, .width = 3, .height = 2, .bitCount = 4, .colours = palette(16)};
    core.pixels = testing::packRows(indices, 4);
    seeds["core4.bmp"] = testing::makeBmp(core);
    BmpFields rle8{.width = 6, .height = 3, .bitCount = 8, .compression = 1, .colours = palette(4)};
    rle8.pixels = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 2, 3, 0, 1};
    rle8.colourCount = 4;
    seeds["rle8.bmp"] = testing::makeBmp(rle8);
    BmpFields rle4{.width = 5, .height = 2, .bitCount = 4, .compression = 2, .colours = palette(4)};
    rle4.pixels = {5, 0x12, 0, 0, 0, 3, 0x23, 0x10, 0, 1};
    rle4.colourCount = 4;
    seeds["rle4.bmp"] = testing::makeBmp(rle4);
    seeds["saved24.bmp"] = encodeBmpFile(renderedPicture(), false);
    return seeds;
}

// The same pictures as packed blocks (the clipboard's form): the file header left out.
Seeds dibSeeds(const Seeds& bmp) {
    Seeds seeds;
    for (const auto& [name, bytes] : bmp)
        seeds[name.substr(0, name.size() - 4) + ".dib"] =
            std::vector<std::uint8_t>(bytes.begin() + 14, bytes.end());
    return seeds;
}

Seeds trailerSeeds() {
    Seeds seeds;
    const CanvasImage image = renderedPicture();
    seeds["appended.bmp"] = encodeBmpFile(image, true);
    auto stale = encodeBmpFile(image, true);
    stale[stale.size() - 164 + 8] = 100;  // version 100
    seeds["stale-version.bmp"] = stale;
    auto shortTrailer = encodeBmpFile(image, true);
    shortTrailer.resize(shortTrailer.size() - 10);
    seeds["short-trailer.bmp"] = shortTrailer;
    return seeds;
}

Seeds infoSeeds() {
    Seeds seeds;
    const CanvasImage image = renderedPicture();
    const std::string text = formatRenderInfoText(image.renderInfo, image.settings);
    auto bytes = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    // The fuzz target reads the picture size from the first two bytes.
    seeds["render.info"] = bytes(std::string("\x05\x03", 2) + text);
    seeds["crlf.info"] =
        bytes(std::string("\x05\x03", 2) + "SIZE 5, 3\r\nPARMS 20, 900, 2, 1\r\nsel 0,0,5,3\r\n");
    RenderInfoRecord analysis = image.renderInfo;
    analysis.command = 104;
    analysis.flags = 4 | 16;
    analysis.sourceName = {'a', '.', 'w', 'a', 'v'};
    seeds["analysis.info"] =
        bytes(std::string("\x05\x03", 2) + formatRenderInfoText(analysis, image.settings));
    return seeds;
}

void writeSeeds(const std::filesystem::path& folder, const Seeds& seeds) {
    std::filesystem::create_directories(folder);
    StandardFileSystem files;
    for (const auto& [name, bytes] : seeds)
        ASSERT_TRUE(replaceFileWith(files, folder / name, {bytes})) << name;
}

TEST(FuzzSeeds, AreValidFilesAndAreWrittenOnRequest) {
    const Seeds bmp = bmpSeeds(), trailer = trailerSeeds(), info = infoSeeds();
    const Seeds dib = dibSeeds(bmp);
    for (const auto& [name, bytes] : bmp)
        EXPECT_TRUE(decodeBmp(bytes).pixels) << name;
    for (const auto& [name, bytes] : dib)
        EXPECT_TRUE(decodeDib(bytes).pixels) << name;
    EXPECT_EQ(findRenderInfoTrailer(trailer.at("appended.bmp"), 54 + 48).kind, TrailerKind::Found);
    EXPECT_EQ(findRenderInfoTrailer(trailer.at("stale-version.bmp"), 54 + 48).kind,
              TrailerKind::Stale);
    for (const auto& [name, bytes] : info) {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 2,
                                    bytes.size() - 2);
        EXPECT_EQ(parseRenderInfoText(text, 5, 3).accepted & 3u, 3u) << name;
    }
    const char* folder = std::getenv("LUMETRA_FUZZ_CORPUS");
    if (!folder) return;
    const std::filesystem::path root = std::filesystem::path(folder);
    writeSeeds(root / "bmp_reader", bmp);
    writeSeeds(root / "dib_reader", dib);
    writeSeeds(root / "render_info_trailer", trailer);
    writeSeeds(root / "info_reader", info);
}

}  // namespace
}  // namespace lumetra
