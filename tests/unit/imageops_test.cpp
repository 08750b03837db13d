// The image operations, the halftone stretch, the drags and lumetra-edit:
// small tables of exact numbers, and the fast loops bit for bit against the plain reference.

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/format_text.h"
#include "cli/command_line.h"
#include "cli/edit/batch_edit.h"
#include "document/document_render.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "image/bmp_reader.h"
#include "image/stretch_halftone.h"
#include "imageops/colour_operations.h"
#include "imageops/composite.h"
#include "imageops/delete_region.h"
#include "imageops/drag_pixels.h"
#include "imageops/geometry_operations.h"
#include "imageops/transform_drag.h"
#include "imageops_reference.h"
#include "memory_file_system.h"
#include "tools/echord.h"
#include "tools/echord_patches.h"

namespace lumetra {
namespace {

using testing::FileCall;
using testing::randomPicture;

CanvasImage canvas(PixelImage pixels) {
    CanvasImage image;
    adoptPixels(image, std::move(pixels));
    return image;
}

PixelImage flat(std::int32_t width, std::int32_t height, Rgb colour) {
    PixelImage picture = randomPicture(width, height, 0);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(picture, x, y, colour);
    return picture;
}

TEST(GeometryOperations, DoubleAndHalfSizesSelectionsAndCopies) {
    const CanvasImage six = canvas(randomPicture(6, 4, 3));
    for (const auto& [kind, width, height] : {std::tuple{Duplication::DoubleHorizontally, 12, 4},
                                              {Duplication::DoubleVertically, 6, 8}}) {
        CanvasImage image = six;
        image.selection = Rect{1, 1, 2, 2};
        duplicatePicture(image, kind);
        EXPECT_EQ(std::tuple(image.pixels.width, image.settings.width, image.settings.height),
                  std::tuple(width, width, height));
        EXPECT_EQ(image.selection, (Rect{width - 6, height - 4, width, height}));
        for (std::int32_t y = 0; y < height; ++y)
            for (std::int32_t x = 0; x < width; ++x)
                EXPECT_EQ(pixelAt(image.pixels, x, y), pixelAt(six.pixels, x % 6, y % 4));
    }
    // Half of 101 x 3: copies 51 columns wide at 0 and 51, the second's last column cut off; the
    // odd height is stretched by a row too, which falls outside.
    const CanvasImage before = canvas(randomPicture(101, 3, 5));
    CanvasImage image = before;
    image.selection = Rect{1, 1, 2, 2};
    duplicatePicture(image, Duplication::HalfHorizontally);
    EXPECT_EQ(std::tuple(image.pixels.width, image.pixels.height, image.selection),
              std::tuple(101, 3, Rect{}));
    PixelImage half = randomPicture(51, 3, 6);
    ASSERT_TRUE(
        testing::referenceStretchHalftone(half, {0, 0, 51, 4}, before.pixels, {0, 0, 101, 3}));
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 101; ++x)
            EXPECT_EQ(pixelAt(image.pixels, x, y), pixelAt(half, x % 51, y)) << x;
}

TEST(Composite, FailuresNameTheirCauseAndChangeNothing) {
    using enum CompositeKind;
    const std::tuple<CompositeKind, PixelImage, Rect, std::string_view> cases[] = {
        {Filter, PixelImage{}, Rect{}, kFilterPictureUnusableText},
        {AdditiveOverlay, flat(2, 2, {}), Rect{9, 9, 12, 12}, kStretchedFilterFailedText},
        {OrOverlay, flat(2, 2, {}), Rect{9, 9, 12, 12}, kOverlayStretchFailedText},
    };
    for (const auto& [kind, other, selection, text] : cases) {
        CanvasImage image = canvas(flat(4, 4, Rgb{7, 7, 7}));
        image.selection = selection;
        const CompositeResult result =
            compositeImage(image, other, CompositeOptions{kind, false, false, {}});
        EXPECT_EQ(result.ok ? "" : result.message, text);
        EXPECT_EQ(image.pixels.bytes, flat(4, 4, Rgb{7, 7, 7}).bytes) << text;
    }
}

// Odd and even widths, selections along the edges and beyond, every colour operation (zero bytes
// for clear-excess-blue, room for normalize), Mirror, Flip, Delete, and every filter and overlay.
TEST(ImageOperations, AgreeWithTheReferenceBitForBit) {
    using enum ColourOperation;
    const Rect selections[] = {{0, 0, 0, 0},    {0, 0, 1, 1},   {0, 0, 37, 3},   {36, 0, 37, 23},
                               {5, 22, 37, 23}, {3, 4, 20, 19}, {17, 0, 18, 23}, {-4, 20, 30, 40}};
    std::uint32_t seed = 20;
    for (const std::int32_t width : {37, 38, 17, 1}) {
        for (const Rect& selection : selections) {
            CanvasImage start = canvas(randomPicture(width, 23, ++seed));
            start.selection = selection;
            const std::string where =
                formatText("%d wide, selection %d,%d", width, selection.left, selection.top);
            for (const ColourOperation operation :
                 {Normalize, Brighten, Darken, MoreContrast, Invert, ClearExcessBlue}) {
                CanvasImage fast = start;
                for (std::uint8_t& byte : fast.pixels.bytes) {
                    if (operation == ClearExcessBlue && byte < 128) byte = 0;
                    if (operation == Normalize) byte /= 3;
                }
                CanvasImage plain = fast;
                applyColourOperation(fast, operation);
                testing::referenceColourOperation(plain, operation);
                ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes)
                    << "operation " << int(operation) << ", " << where;
            }
            for (const auto& [operation, reference] :
                 {std::pair{&mirrorRegion, &testing::referenceMirror},
                  std::pair{&flipRegion, &testing::referenceFlip},
                  std::pair{&deleteRegion, &testing::referenceDelete}}) {
                CanvasImage fast = start;
                CanvasImage plain = start;
                operation(fast);
                reference(plain);
                ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes) << where;
            }
            for (const CompositeKind kind : {CompositeKind::Filter, CompositeKind::AdditiveOverlay,
                                             CompositeKind::OrOverlay}) {
                for (const int flips : {0, 1, 2, 3}) {
                    CanvasImage fast = start;
                    CanvasImage plain = start;
                    const PixelImage other = randomPicture(7 + flips, 5, ++seed);
                    const CompositeOptions o{
                        kind, (flips & 1) != 0, (flips & 2) != 0,
                        flips % 3 != 0 ? ChannelPercentages{37, 0, 81} : ChannelPercentages{}};
                    ASSERT_EQ(compositeImage(fast, other, o).ok,
                              testing::referenceComposite(plain, other, o));
                    ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes)
                        << "kind " << int(kind) << ", flips " << flips << ", " << where;
                }
            }
        }
    }
}

// Shapes the filters and overlays do not make: 1:1 at an offset, exact halving, a reversed
// destination, rectangles beyond both pictures, a single pixel; and refusals.
TEST(StretchHalftone, AgreesWithTheReferenceBitForBitAndRefusesEmptyOrMalformedPictures) {
    // Source width and height, rectangle, destination width and height, rectangle.
    const std::tuple<std::int32_t, std::int32_t, StretchRect, std::int32_t, std::int32_t,
                     StretchRect>
        cases[] = {
            {7, 5, {0, 0, 7, 5}, 9, 6, {1, 1, 7, 5}},
            {8, 6, {0, 0, 8, 6}, 8, 3, {0, 0, 8, 3}},
            {9, 7, {0, 0, 9, 7}, 10, 10, {9, 9, -17, -4}},
            {10, 6, {-3, 2, 16, 9}, 12, 8, {-2, -1, 15, 12}},
            {1, 1, {0, 0, 1, 1}, 6, 5, {0, 0, 6, 5}},
        };
    std::uint32_t seed = 100;
    for (const auto& [sourceWidth, sourceHeight, from, width, height, to] : cases) {
        const PixelImage source = randomPicture(sourceWidth, sourceHeight, ++seed);
        PixelImage fast = randomPicture(width, height, ++seed), plain = fast;
        ASSERT_TRUE(stretchHalftone(fast, to, source, from));
        ASSERT_TRUE(testing::referenceStretchHalftone(plain, to, source, from));
        EXPECT_EQ(fast.bytes, plain.bytes)
            << sourceWidth << " x " << sourceHeight << " onto " << width;
    }
    const PixelImage three = randomPicture(3, 3, 5);
    PixelImage destination = randomPicture(3, 3, 6), shortOfBytes = three;
    const PixelImage before = destination;
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 0, 3}, three, {0, 0, 3, 3}));
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, three, {0, 0, 3, 0}));
    shortOfBytes.bytes.pop_back();
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, shortOfBytes, {0, 0, 3, 3}));
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, PixelImage{}, {0, 0, 3, 3}));
    EXPECT_EQ(destination.bytes, before.bytes);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

constexpr ScreenSize kScreen{900, 200};  // 100 pixels per radian, shear and scale unit 10

enum class Tool { Move, ZoomRotate, SkewFlip };

DragStatus drag(Tool tool, const DragPictures& pictures, DragPoint anchor, DragPoint pointer,
                const RenderSettings& settings = {}) {
    if (tool == Tool::Move) return moveDrag(pictures, anchor, pointer, settings);
    const auto kind = tool == Tool::ZoomRotate ? DeformKind::ZoomRotate : DeformKind::SkewFlip;
    return deformDrag(kind, pictures, anchor, pointer, kScreen);
}

// The status texts and their parts for a 300 x 240 picture of 5 s from 100 Hz to 400 Hz (2400
// cents in 240 rows) and an anchor at (150, 120); 100 pixels per radian, a scale unit of 10.
TEST(TransformDrag, StatusTexts) {
    using enum Tool;
    const std::tuple<Tool, DragPoint, const char*, double> cases[] = {
        {Move, {120, 145}, "Move: X -30 (-0.50 s), Y -25 (-2 semitone -50 cent)", 100.0},
        // 150 - kMin and kMin - 120 do not fit 32 bits; the shifts wrap.
        {Move, {kMin, kMax}, "Move: X -98 (-1.63 s), Y -7 (0 semitone -70 cent)", 100.0},
        // A low pitch of 0 makes the interval infinite: saturated at the int32 limit, whose
        // remainders are 7 and 47. Without a vertical shift it is NaN, which counts as 0.
        {Move, {150, 119}, "Move: X +0 (+0.00 s), Y +1 (7 semitone 47 cent)", 0.0},
        {Move, {151, 120}, "Move: X +1 (+0.02 s), Y +0 (0 semitone 0 cent)", 0.0},
        // Seven radians: 420 less 360.
        {ZoomRotate, {850, 120}, "Rotate 60.00, Scale 1/1.00", 100.0},
        {ZoomRotate, {150, 130}, "Rotate 0.00, Scale 1/1.70", 100.0},
        {ZoomRotate, {150, 20}, "Rotate 0.00, Scale 51.00", 100.0},
        {SkewFlip, {155, 123}, "Skew-flip: x = 5, y = -3", 100.0},
        {SkewFlip, {kMin, kMin}, "Skew-flip: x = -2147483648, y = 2147483647", 100.0},
    };
    const PixelImage snapshot = randomPicture(300, 240, 4);
    PixelImage picture = snapshot;
    const DragPictures pictures{snapshot, picture, Rect{0, 0, 300, 240}, nullptr};
    for (const auto& [tool, pointer, text, low] : cases) {
        RenderSettings settings;
        settings.lowFrequency = low, settings.highFrequency = 400.0, settings.outputTime = 5.0;
        const DragStatus status = drag(tool, pictures, {150, 120}, pointer, settings);
        EXPECT_EQ(status, (DragStatus{tool == Move ? kMoveStatusPart : kDeformStatusPart, text}));
    }
    // An empty picture, whose width would divide by zero, is left alone without a text.
    const PixelImage none;
    PixelImage empty;
    EXPECT_EQ(moveDrag({none, empty, Rect{}, nullptr}, {0, 0}, {5, 5}, RenderSettings{}),
              (DragStatus{kMoveStatusPart, ""}));
}

// Regions whole, random, the last pixel, beyond the picture; anchors anywhere (the batch editor
// takes them off the picture too); pointers to vast shrinks (beyond the lanes' bound) and the
// int32 limits; the tallest picture shared among threads in parts of whole bands.
TEST(DragPixels, AgreeWithTheReferenceAndWriteNothingWithoutAUsableSnapshot) {
    const std::int32_t sizes[][2] = {{1, 1},    {1, 5},    {2, 3},   {3, 4},    {4, 2},
                                     {5, 7},    {7, 1},    {8, 9},   {31, 6},   {101, 37},
                                     {256, 11}, {1021, 6}, {41, 47}, {530, 21}, {67, 203}};
    const ScreenSize screens[] = {kDefaultDragScreen, {1, 1}, {0, 0}, {640, 480}};
    RenderWorkers two, three;
    two.setHelpers(1);
    three.setHelpers(2);
    RenderWorkers* const sharing[] = {nullptr, &two, &three};
    std::uint32_t seed = 100;
    for (const auto& [w, h] : sizes) {
        std::mt19937 random(++seed);
        const auto below = [&](std::int32_t n) {
            return std::int32_t(random() % std::uint32_t(n));
        };
        const auto near = [&](std::int32_t spread) { return below(2 * spread + 1) - spread; };
        const PixelImage snapshot = randomPicture(w, h, seed);
        const PixelImage start = randomPicture(w, h, seed + 1000);
        const std::int32_t l = below(w + 1), r = below(w + 1), t = below(h + 1), b = below(h + 1);
        const Rect regions[] = {
            {0, 0, w, h},          {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)},
            {w - 1, h - 1, w, h},  {w / 2, 0, w, h / 2 + 1},
            {-5, h / 3, 3, h + 7}, {w, 0, w + 9, h}};
        for (const Rect& region : regions) {
            for (const DragPoint a : {DragPoint{0, 0}, DragPoint{w - 1, h - 1},
                                      DragPoint{below(w), below(h)}, DragPoint{-3, h + 2}}) {
                for (const DragPoint p :
                     {a, DragPoint{a.x + 1, a.y}, DragPoint{a.x, a.y - 1},
                      DragPoint{a.x + near(300), a.y + near(300)},
                      DragPoint{a.x + near(40), a.y + near(40)}, DragPoint{-1, -1},
                      DragPoint{a.x + 100000, a.y - 70000}, DragPoint{a.x - 30, a.y + 30000},
                      DragPoint{kMin, kMax}, DragPoint{kMax, kMin}}) {
                    const DragUnits units = dragUnits(screens[random() % std::size(screens)]);
                    const MoveShift shift = moveShiftFor(a, p, w, h);
                    const ZoomRotate zoom = zoomRotateFor(a, p, units);
                    const SkewFlip skew = skewFlipFor(a, p, units);
                    PixelImage mine[] = {start, start, start};
                    PixelImage theirs[] = {start, start, start};
                    shiftPixels(snapshot, mine[0], region, shift);
                    testing::referenceShift(snapshot, theirs[0], region, shift);
                    // The turning loops alone, on two threads and on three (uneven parts).
                    RenderWorkers* const workers = sharing[random() % std::size(sharing)];
                    zoomRotatePixels(snapshot, mine[1], region, a, zoom, workers);
                    testing::referenceZoomRotate(snapshot, theirs[1], region, a, zoom);
                    skewFlipPixels(snapshot, mine[2], region, a, skew, workers);
                    testing::referenceSkewFlip(snapshot, theirs[2], region, a, skew);
                    for (const int loop : {0, 1, 2})
                        ASSERT_EQ(mine[loop].bytes, theirs[loop].bytes) << formatText(
                            "loop %d, %d x %d, region %d,%d,%d,%d, anchor %d,%d, pointer %d,%d",
                            loop, w, h, region.left, region.top, region.right, region.bottom, a.x,
                            a.y, p.x, p.y);
                }
            }
        }
    }
    // Nothing is written from a snapshot of another layout, from none, or from the picture itself
    // (null), which would read pixels already rewritten.
    const PixelImage before = randomPicture(9, 6, 11), otherSize = randomPicture(9, 7, 12), none;
    const DragPoint anchor{4, 3};
    const DragUnits units = dragUnits(kScreen);
    const Rect whole{0, 0, 9, 6};
    for (const PixelImage* snapshot : {&otherSize, &none, (const PixelImage*)nullptr}) {
        PixelImage picture = before;
        const PixelImage& source = snapshot ? *snapshot : picture;
        shiftPixels(source, picture, whole, moveShiftFor(anchor, {5, 5}, 9, 6));
        zoomRotatePixels(source, picture, whole, anchor, zoomRotateFor(anchor, {8, 8}, units),
                         nullptr);
        skewFlipPixels(source, picture, whole, anchor, skewFlipFor(anchor, {8, 8}, units), nullptr);
        EXPECT_EQ(picture.bytes, before.bytes) << (snapshot == &none ? "none" : "other or self");
    }
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

TEST(EditCommandLine, NumbersWordsAndTheOptionsBeforeTheFiles) {
    std::uint32_t word = 0, other = 0;
    EXPECT_TRUE(readWord("0x16BA2118", word) && readWord("4294967295", other));
    EXPECT_EQ(std::pair(word, other), std::pair(0x16BA2118u, 4294967295u));
    for (const char* bad : {"", "0x", "-1", "4294967296", "0x100000000", "12x", "0x1G", " 1"})
        EXPECT_FALSE(readWord(bad, word)) << bad;
    std::int32_t three[3] = {};
    EXPECT_TRUE(readNumberList("1,-2,3", three));
    EXPECT_EQ(three[1], -2);
    for (const char* bad : {"1,2", "1,2,3,4", "1,,3", "1,2,"})
        EXPECT_FALSE(readNumberList(bad, three)) << bad;
}

// In memory: a random 5 x 3 picture with a render record appended, a white one and no picture.
struct EditRig {
    EditRig() {
        CanvasImage image = canvas(randomPicture(5, 3, 9));
        image.settings.lowFrequency = 40, image.settings.outputTime = 1.5;
        recordRender(image, 300, 0.5, LocalTime{2022, 2, 2, 2, 2, 2, 2, 2});
        record = image.renderInfo;
        files.files["in.bmp"] = encodeBmpFile(image, true);
        picture = *decodeBmp(files.at("in.bmp")).pixels;  // as the tool reads it
        files.files["white.bmp"] = encodeBmpFile(canvas(flat(2, 2, Rgb{255, 255, 255})), false);
        files.put("words.bmp", "BM no picture in here");
    }

    int run(const std::string& line) {
        out.str(""), err.str("");
        return runBatchEdit(words(line), files, out, err);
    }
    PixelImage output() const { return *decodeBmp(files.at("out.bmp")).pixels; }

    testing::MemoryFileSystem files;
    PixelImage picture;
    RenderInfoRecord record;
    std::ostringstream out, err;
};

// Good lines print on standard output and write out.bmp; bad ones tell why on standard error and
// leave the earlier out.bmp as it was, with nothing written beside it.
TEST(BatchEdit, CommandLinesExitCodesAndMessages) {
    const struct {
        const char* line;
        int exitCode;
        const char* message;  // a piece of the output
        std::optional<FileCall> failing = std::nullopt;
    } cases[] = {
        {"--seed 0x10 --selection 0,0,5,3 in.bmp out.bmp or-overlay white.bmp --flip-ud", 0,
         "Wrote out.bmp"},
        {"--help", 0, "Usage: lumetra-edit [--selection L,T,R,B] [--seed N] INPUT.bmp OUTPUT.bmp"},
        {"--bogus in.bmp out.bmp invert", 2, "Unknown option --bogus"},
        {"in.bmp out.bmp", 2, "Missing INPUT.bmp, OUTPUT.bmp or OPERATION"},
        {"in.bmp out.bmp sharpen", 2, "Unknown operation sharpen"},
        {"in.bmp out.bmp invert now", 2, "invert takes no arguments, not now"},
        {"in.bmp out.bmp filter", 2, "filter needs the PICTURE to combine"},
        {"in.bmp out.bmp overlay white.bmp --strength 0,50,101", 2, "Bad value for --strength"},
        {"in.bmp out.bmp or-overlay white.bmp --strength 1,1,1", 2,
         "Unknown argument of or-overlay: --strength"},
        {"--selection 0,0,6,3 in.bmp out.bmp invert", 2, "non-empty rectangle inside the 5 x 3"},
        {"missing.bmp out.bmp invert", 1,
         "lumetra-edit: Could not open missing.bmp: Error 2: No such file or directory"},
        {"in.bmp out.bmp or-overlay words.bmp", 1, "Could not open words.bmp: "},
        {"in.bmp out.bmp invert", 1, "Could not write out.bmp: Error 28: No space left on device",
         FileCall::Write},
        {"in.bmp out.BMP.png invert", 2, "OUTPUT must be a BMP file whose name ends in \".bmp\""},
        {"in.bmp out.bmp echord 0,0,1,0,0,0,2147483647,0,0,0,0,0,0", 2,
         "Bad value for echord: NUM 2147483647 (0 to 100)"},
        {"in.bmp out.bmp echord 0,0,500,0,0,0,1,0,0,0,0,0,0", 2, "HOP 500 (0 to 499)"},
        {"in.bmp out.bmp echord 0,0,1,0,0,0,1,0,0,0,0,0,2", 2, "WRAP 2 (0 to 1)"},
        {"in.bmp out.bmp echord 1,2,3", 2, "echord needs the 13 values"},
        {"in.bmp out.bmp echord --patch C1", 2, "echord needs the 13 values"},
        {"in.bmp out.bmp brush --patch C1", 2, "Bad value for --patch: C1 (A1 to B8)"},
        {"in.bmp out.bmp boil", 2, "boil needs HEAT,BLUR,CYCLE,SHIFT, each -32768 to 32767"},
        {"in.bmp out.bmp boil 50,20,10,-100 --fade down --colours 0x808080,0xFFFFFF", 0, "Wrote"},
        {"in.bmp out.bmp brush --density 80 --shape spray --fade noise --patch B6", 0, "Wrote"},
    };
    for (const auto& c : cases) {
        EditRig rig;
        rig.files.put("out.bmp", "keep me");
        if (c.failing) rig.files.fail(*c.failing);
        EXPECT_EQ(rig.run(c.line), c.exitCode) << c.line;
        const std::string said = c.exitCode == 0 ? rig.out.str() : rig.err.str();
        EXPECT_NE(said.find(c.message), std::string::npos) << c.line << ": " << said;
        const bool written = c.exitCode == 0 && c.line != std::string("--help");
        EXPECT_EQ(rig.files.text("out.bmp") == "keep me", !written) << c.line;
        EXPECT_EQ(rig.files.files.size(), 4u) << c.line;
    }
}

TEST(BatchEdit, WritesTheOperatedPictureWithItsRenderRecord) {
    EditRig rig;
    ASSERT_EQ(rig.run("--selection 1,0,4,2 in.bmp out.bmp brighten"), 0) << rig.err.str();
    EXPECT_EQ(rig.out.str(), "Render info updated by image\nWrote out.bmp\n");
    CanvasImage expected = canvas(rig.picture);
    expected.selection = Rect{1, 0, 4, 2};
    applyColourOperation(expected, ColourOperation::Brighten);
    EXPECT_EQ(rig.output().bytes, expected.pixels.bytes);
    CanvasImage reopened;
    ASSERT_TRUE(loadImageFileCore(rig.files, reopened, "out.bmp").renderInfoUpdated);
    EXPECT_EQ(encodeRenderInfo(reopened.renderInfo), encodeRenderInfo(rig.record));

    // The strengths are red, green and blue: white added to red alone.
    ASSERT_EQ(rig.run("in.bmp out.bmp overlay white.bmp --strength 100,0,0"), 0);
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 5; ++x) {
            const Rgb before = pixelAt(rig.picture, x, y);
            EXPECT_EQ(pixelAt(rig.output(), x, y), (Rgb{255, before.green, before.blue}));
        }
}

// A tool's row runs the core with the settings of the line: Echord's patch values from --seed.
TEST(BatchEdit, EchordRunsTheCoreWithTheValuesOfTheLine) {
    EditRig rig;
    ASSERT_EQ(rig.run("--seed 5 in.bmp out.bmp echord 45,10,1,2,0,0,3,0,50,40,1,1,1"), 0);
    CanvasImage expected = canvas(rig.picture);
    RandomSeed seed{5};
    const EchordPatch patch{{45, 10, 1, 2, 0, 0, 3, 0, 50, 40, 1, 1, 1}};
    addEchordCopies(rig.picture, expected, recallEchordPatch(patch).settings, seed, nullptr);
    EXPECT_EQ(rig.output().bytes, expected.pixels.bytes);
    EXPECT_NE(rig.output().bytes, rig.picture.bytes);
}

}  // namespace
}  // namespace lumetra
