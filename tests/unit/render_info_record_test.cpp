// The 164-byte form of the render record and the recording of a render.

#include <gtest/gtest.h>

#include <bit>

#include "base/little_endian.h"
#include "document/canvas_image.h"
#include "document/document_render.h"
#include "render/render_info.h"

namespace lumetra {
namespace {

RenderInfoRecord sampleRecord() {
    RenderInfoRecord r;
    r.setMagic();
    r.size = 160;
    r.version = 101;
    r.valid = 1;
    r.command = 303;
    r.width = 301;
    r.height = -7;
    r.lowFrequency = 55.5f;
    r.highFrequency = 7040.25f;
    r.ampFactor = 12.5f;
    r.outputTime = 3.75f;
    r.renderTime = 0.125f;
    r.selection = {1, 2, 300, 149};
    r.flags = 8 | 4 | 16;
    r.reserved[0] = 0xAA;
    r.reserved[31] = 0xBB;
    r.date = LocalTime{2008, 3, 5, 7, 14, 5, 9, 999};
    r.sourceName = {'s', 'o', 'u', 'n', 'd', '.', 'w', 'a', 'v'};
    r.sourceLength = 2.5f;
    r.sourceNumber = 0xDEADBEEF;
    r.sourceChannels = 2;
    r.sourceSampleRate = 44100;
    return r;
}

TEST(RenderInfoRecord, FieldsSitAtTheirOffsets) {
    const RenderInfoBytes bytes = encodeRenderInfo(sampleRecord());
    const std::span<const std::uint8_t> b(bytes);
    EXPECT_EQ(le::readU32(b, 0), 0x726E6472u);  // "rdnr"
    // The 32-bit words from offset 4 to 64, then 148 to 160.
    const auto f = [](float v) { return std::bit_cast<std::uint32_t>(v); };
    const std::uint32_t words[] = {
        160,      101,      1,         303, 301, 0xFFFFFFF9u, 0x425E0000u, f(7040.25f),
        f(12.5f), f(3.75f), f(0.125f), 1,   2,   300,         149,         28};
    for (std::size_t i = 0; i < std::size(words); ++i)
        EXPECT_EQ(le::readU32(b, 4 + 4 * i), words[i]) << "offset " << 4 + 4 * i;
    EXPECT_EQ(bytes[68], 0xAA);
    EXPECT_EQ(bytes[99], 0xBB);
    const std::uint16_t date[8] = {2008, 3, 5, 7, 14, 5, 9, 999};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(le::readU16(b, 100 + 2 * i), date[i]) << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[116])), "sound.wav");
    const std::uint32_t source[] = {f(2.5f), 0xDEADBEEFu, 2, 44100};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(le::readU32(b, 148 + 4 * i), source[i]) << "offset " << 148 + 4 * i;
    // Decoding is the inverse; bytes that are not there read as 0.
    EXPECT_EQ(encodeRenderInfo(decodeRenderInfo(bytes)), bytes);
    const RenderInfoRecord r = decodeRenderInfo(std::span(bytes).first(153));
    EXPECT_EQ(std::tuple(r.command, r.sourceLength, r.sourceNumber, r.sourceSampleRate),
              std::tuple(303, 2.5f, 0xEFu, 0u));
    EXPECT_FALSE(decodeRenderInfo({}).hasMagic());
}

// What a render records shows in the ".info" text (render_info_text_test.cpp); here what only
// the record shows.
TEST(RenderInfoRecord, RecordingARender) {
    CanvasImage image;
    std::string message;
    adoptPixels(image, *createCanvasBitmap(30, 20, message));
    image.selection = Rect{2, 3, 10, 12};
    const LocalTime now{2024, 12, 1, 2, 23, 59, 58, 7};
    recordRender(image, 301, 1.5, now);
    EXPECT_EQ(std::pair(image.renderInfo.size, image.renderInfo.flags), std::pair(160u, 8u));
    // An analysis record carries no date and no selection.
    recordRender(image, 104, 0.0, now);
    EXPECT_EQ(std::tuple(image.renderInfo.flags, image.renderInfo.date.year,
                         image.renderInfo.selection[2]),
              std::tuple(0u, 0, 0));
}

}  // namespace
}  // namespace lumetra
