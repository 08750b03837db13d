// The 164-byte form of the render record and the recording of a render.

#include <gtest/gtest.h>

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
    EXPECT_EQ(bytes.size(), 164u);
    EXPECT_EQ(bytes[0], 0x72);
    EXPECT_EQ(bytes[1], 0x64);
    EXPECT_EQ(bytes[2], 0x6E);
    EXPECT_EQ(bytes[3], 0x72);
    EXPECT_EQ(le::readU32(b, 4), 160u);
    EXPECT_EQ(le::readU32(b, 8), 101u);
    EXPECT_EQ(le::readU32(b, 12), 1u);
    EXPECT_EQ(le::readI32(b, 16), 303);
    EXPECT_EQ(le::readI32(b, 20), 301);
    EXPECT_EQ(le::readI32(b, 24), -7);
    EXPECT_EQ(le::readU32(b, 28), 0x425E0000u);  // 55.5f
    EXPECT_EQ(le::readF32(b, 32), 7040.25f);
    EXPECT_EQ(le::readF32(b, 36), 12.5f);
    EXPECT_EQ(le::readF32(b, 40), 3.75f);
    EXPECT_EQ(le::readF32(b, 44), 0.125f);
    EXPECT_EQ(le::readI32(b, 48), 1);
    EXPECT_EQ(le::readI32(b, 52), 2);
    EXPECT_EQ(le::readI32(b, 56), 300);
    EXPECT_EQ(le::readI32(b, 60), 149);
    EXPECT_EQ(le::readU32(b, 64), 28u);
    EXPECT_EQ(bytes[68], 0xAA);
    EXPECT_EQ(bytes[99], 0xBB);
    const std::uint16_t date[8] = {2008, 3, 5, 7, 14, 5, 9, 999};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(le::readU16(b, 100 + 2 * i), date[i]) << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[116])), "sound.wav");
    EXPECT_EQ(le::readF32(b, 148), 2.5f);
    EXPECT_EQ(le::readU32(b, 152), 0xDEADBEEFu);
    EXPECT_EQ(le::readU32(b, 156), 2u);
    EXPECT_EQ(le::readU32(b, 160), 44100u);
}

TEST(RenderInfoRecord, DecodeIsTheInverseOfEncode) {
    const RenderInfoBytes bytes = encodeRenderInfo(sampleRecord());
    EXPECT_EQ(encodeRenderInfo(decodeRenderInfo(bytes)), bytes);
    const RenderInfoRecord r = decodeRenderInfo(bytes);
    EXPECT_TRUE(r.hasMagic());
    EXPECT_EQ(r.date.milliseconds, 999);
    EXPECT_EQ(r.sourceNumber, 0xDEADBEEFu);
}

TEST(RenderInfoRecord, ShortBytesReadAsZeroBehindTheirEnd) {
    const RenderInfoBytes bytes = encodeRenderInfo(sampleRecord());
    const RenderInfoRecord r = decodeRenderInfo(std::span(bytes).first(153));
    EXPECT_EQ(r.command, 303);
    EXPECT_EQ(r.sourceLength, 2.5f);
    EXPECT_EQ(r.sourceNumber, 0xEFu);  // only the first byte of the field was there
    EXPECT_EQ(r.sourceSampleRate, 0u);
    EXPECT_FALSE(decodeRenderInfo({}).hasMagic());
}

TEST(RenderInfoRecord, RecordingARender) {
    CanvasImage image;
    std::string message;
    adoptPixels(image, *createCanvasBitmap(30, 20, message));
    image.settings.lowFrequency = 50.1;  // stored rounded to a 32-bit float
    image.selection = Rect{2, 3, 10, 12};
    const LocalTime now{2024, 12, 1, 2, 23, 59, 58, 7};
    recordRender(image, 301, 1.5, now);
    const RenderInfoBytes bytes = encodeRenderInfo(image.renderInfo);
    const std::span<const std::uint8_t> b(bytes);
    EXPECT_EQ(le::readU32(b, 4), 160u);
    EXPECT_EQ(le::readF32(b, 28), 50.1f);
    EXPECT_EQ(le::readI32(b, 56), 10);
    EXPECT_EQ(le::readU32(b, 64), 8u);
    EXPECT_EQ(le::readU16(b, 100), 2024);
    // An analysis record carries no date and no selection.
    recordRender(image, 104, 0.0, now);
    EXPECT_EQ(image.renderInfo.flags, 0u);
    EXPECT_EQ(image.renderInfo.date.year, 0);
    EXPECT_EQ(image.renderInfo.selection[2], 0);
}

}  // namespace
}  // namespace lumetra
