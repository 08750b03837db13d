#include <gtest/gtest.h>

#include <cmath>

#include "bmp_test_files.h"
#include "document/canvas_view.h"
#include "document/canvas_zoom.h"
#include "document/ruler_scale.h"
#include "image/stretch_halftone.h"
#include "imageops_reference.h"

namespace lumetra {
namespace {

TEST(Decoration, BytesFlagsAndAreaCopies) {
    // Brighten: t = (250 - v) / 3 below 160, else 30; v = min(255, (v + t) * 5 / 4). Invert
    // comes after it; the outline leaves bytes alone.
    constexpr int kBrighten = kDecorationBrighten, kInvert = kDecorationInvert;
    const int bytes[][3] = {{0, kBrighten, 103},         {1, kBrighten, 105},
                            {100, kBrighten, 187},       {159, kBrighten, 236},
                            {160, kBrighten, 237},       {174, kBrighten, 255},
                            {255, kBrighten, 255},       {0, kInvert, 255},
                            {200, kInvert, 55},          {0, kBrighten | kInvert, 255 - 103},
                            {77, kDecorationOutline, 77}};
    for (const auto& [value, flags, expected] : bytes)
        EXPECT_EQ(decorateByte(std::uint8_t(value), flags), expected) << value << ", " << flags;
    // Styles 0 outline, 1 brighten, 2 invert; the brighter toggle turns all but 0 to inverting.
    const int styles[][4] = {{0, false, 4, 4}, {0, true, 5, 4},  {1, false, 5, 5},
                             {1, true, 7, 6},  {2, false, 6, 6}, {2, true, 6, 6}};
    for (const auto& [style, brighter, forStyle, toggled] : styles) {
        EXPECT_EQ(decorationForStyle(style, brighter), forStyle) << style << ", " << brighter;
        EXPECT_EQ(decorationAfterBrighterToggle(style, brighter), toggled) << style << brighter;
    }
    const PixelImage image = testing::patternPicture(9, 6, 1).pixels;
    const PixelImage copy = decoratedCopy(image, Rect{2, 1, 7, 5}, kDecorationInvert);
    const Rgb in = pixelAt(image, 6, 4), out = pixelAt(copy, 4, 3);  // the copy's last pixel
    EXPECT_EQ(std::tuple(copy.width, copy.height, in.red + out.red, in.blue + out.blue),
              std::tuple(5, 4, 255, 255));
}

constexpr int kBar = 17;

TEST(ScrollLayout, BarsPagesAndPositions) {
    // 300 x 200 fits in 310 x 210 with no bars: exactly 10 pixels to spare.
    EXPECT_FALSE(computeScrollLayout(310, 210, 300, 200, kBar, kBar, 40, 40).horizontal.visible);
    // A wide picture: a horizontal bar whose page is half the client; 400 - 17 still holds 210.
    ScrollLayout l = computeScrollLayout(500, 400, 1000, 200, kBar, kBar, 9999, 50);
    ASSERT_TRUE(l.horizontal.visible);
    EXPECT_EQ(
        std::tuple(l.vertical.visible, l.horizontal.page, l.horizontal.maximum,
                   maxScrollPosition(l.horizontal), l.horizontal.position, l.vertical.position),
        std::tuple(false, 250, 250 - 500 + 1000 + 14, 515, 515, 0));
    for (const auto& [asked, position] : {std::pair{-25, 0}, {100, 100}, {516, 515}})
        EXPECT_EQ(clampScrollPosition(l.horizontal, asked), position) << asked;
    // Tall: the vertical bar takes 17 pixels, and 305 + 10 no longer fits in 320 - 17.
    l = computeScrollLayout(320, 400, 305, 900, kBar, kBar, 0, 0);
    ASSERT_TRUE(l.vertical.visible && l.horizontal.visible);
    EXPECT_EQ(
        std::tuple(l.horizontal.page, l.vertical.page, l.vertical.maximum),
        std::tuple((320 - kBar) / 2, (400 - kBar) / 2, (400 - kBar) / 2 - (400 - kBar) + 914));
}

TEST(CanvasZoom, AxisMappingTable) {
    // step, view coordinate, pixel under it, nearest edge.
    const int rows[][4] = {
        {0, 0, 0, 0},     {0, 5, 5, 5},    {0, -1, -1, -1},   {2, 0, 0, 0},    {2, 3, 0, 1},
        {2, 2, 0, 1},     {2, 1, 0, 0},    {2, 4, 1, 1},      {2, -1, -1, 0},  {2, -3, -1, -1},
        {4, 31, 1, 2},    {4, 23, 1, 1},   {4, 24, 1, 2},     {-1, 0, 1, 0},   {-1, 3, 7, 6},
        {-1, -1, -1, -2}, {-4, 2, 40, 32}, {-4, -1, -8, -16}, {-2, 5, 22, 20},
    };
    for (const auto& [step, view, pixel, edge] : rows) {
        EXPECT_EQ(pixelUnder(view, step), pixel) << step << " " << view;
        EXPECT_EQ(edgeNear(view, step), edge) << step << " " << view;
    }
    // Edges and extents: a partly covered reduced pixel counts whole.
    const int extents[][4] = {{0, 300, 300, 300},   {2, 300, 1200, 1200}, {-1, 301, 150, 151},
                              {-4, 8000, 500, 500}, {-4, 8001, 500, 501}, {-4, -3, -1, 0},
                              {4, -3, -48, -48}};
    for (const auto& [step, edge, floorView, ceilView] : extents) {
        EXPECT_EQ(viewOfEdge(edge, step), floorView) << step << " " << edge;
        EXPECT_EQ(viewOfEdgeCeil(edge, step), ceilView) << step << " " << edge;
    }
    EXPECT_EQ(std::pair(clampZoomStep(9), clampZoomStep(-9)), std::pair(4, -4));
    for (const auto& [step, name] : {std::pair{-4, "1/16"}, {0, "1:1"}, {3, "8x"}, {7, "16x"}})
        EXPECT_EQ(zoomName(step), name) << step;
}

TEST(CanvasZoom, WindowMappingAndAnchoredZoom) {
    const ViewTransform t{2, 40, 12};  // 4x, scrolled
    EXPECT_EQ(windowOfEdge(t, {10, 3}), (ViewPoint{7, 7}));
    for (const auto& [window, picture] : {std::pair{ViewPoint{7, 7}, ViewPoint{10, 3}},
                                          {ViewPoint{10, 10}, ViewPoint{10, 3}},
                                          {ViewPoint{11, 11}, ViewPoint{11, 4}}})
        EXPECT_EQ(pictureUnder(t, window), picture) << window.x;
    EXPECT_EQ(edgeNearWindow(t, {9, 9}), (ViewPoint{11, 4}));
    EXPECT_EQ(windowRectOf(t, Rect{10, 3, 12, 5}), (Rect{7, 7, 15, 15}));
    EXPECT_EQ(pictureRectUnder(t, Rect{7, 7, 15, 16}), (Rect{10, 3, 12, 6}));
    const ViewTransform half{-1, 0, 0};
    EXPECT_EQ(windowRectOf(half, Rect{1, 1, 3, 3}), (Rect{7, 7, 9, 9}));
    EXPECT_EQ(pictureRectUnder(half, Rect{7, 7, 9, 9}), (Rect{0, 0, 4, 4}));

    // window, scroll, from, to: the new scroll keeps the picture point under `window` in place.
    const int zooms[][5] = {{107, 0, 0, 1, 100},       {107, 0, 0, -1, -50},
                            {57, 30, 1, 0, -10},       {7, 0, 0, 4, 0},
                            {207, 500, -4, 4, 179000}, {207, 179000, 4, -4, 500}};
    for (const auto& [window, scroll, from, to, expected] : zooms)
        EXPECT_EQ(anchoredScroll(window, scroll, from, to), expected)
            << window << " " << scroll << " " << from << "->" << to;
    // The largest step at which the picture and 10 pixels fit.
    const int fits[][5] = {{1000, 700, 300, 150, 1},
                           {310, 160, 300, 150, 0},
                           {309, 160, 300, 150, -1},
                           {800, 600, 8000, 1000, -4},
                           {5000, 5000, 100, 100, 4}};
    for (const auto& [w, h, pw, ph, step] : fits)
        EXPECT_EQ(fitZoomStep(w, h, pw, ph), step) << w << "x" << h << " " << pw << "x" << ph;
}

TEST(CanvasZoom, ReducedCopyFollowsChangesAndViewPixels) {
    // Bit for bit the area-averaging resampler's, with partly covered last blocks of every kind.
    for (const auto& [width, height] : {std::pair{37, 21}, {38, 23}, {39, 18}, {61, 45}}) {
        const PixelImage noise = testing::randomPicture(width, height, std::uint32_t(width));
        for (int step = -1; step >= kMinZoomStep; --step) {
            ReducedView made;
            updateReducedView(made, noise, step, Rect{});
            const int r = 1 << -step;
            PixelImage expected = made.pixels;
            ASSERT_TRUE(
                stretchHalftone(expected, StretchRect{0, 0, expected.width, expected.height}, noise,
                                StretchRect{0, 0, expected.width * r, expected.height * r}));
            ASSERT_EQ(made.pixels.bytes, expected.bytes) << width << "x" << height << " " << step;
        }
    }
    PixelImage picture = testing::patternPicture(37, 21, 3).pixels;
    ReducedView reduced;
    updateReducedView(reduced, picture, -2, Rect{});
    ASSERT_EQ((std::pair{reduced.pixels.width, reduced.pixels.height}), (std::pair{10, 6}));
    // A change of a few pixels updates the reduced pixels that show them, and only those.
    for (int y = 5; y < 7; ++y)
        for (int x = 30; x < 37; ++x)
            setPixel(picture, x, y, Rgb{255, 255, 255});
    const PixelImage before = reduced.pixels;
    updateReducedView(reduced, picture, -2, Rect{30, 5, 37, 7});
    ReducedView all;
    updateReducedView(all, picture, -2, Rect{});
    EXPECT_EQ(reduced.pixels.bytes, all.pixels.bytes);
    int changed = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            changed += pixelAt(before, x, y) != pixelAt(all.pixels, x, y);
    EXPECT_TRUE(changed > 0 && changed <= 3);  // columns 7..9 of row 1
    // Another step rebuilds the whole copy; steps >= 0 keep none.
    updateReducedView(reduced, picture, -4, Rect{0, 0, 1, 1});
    EXPECT_EQ((std::pair{reduced.pixels.width, reduced.pixels.height}), (std::pair{3, 2}));
    updateReducedView(reduced, picture, 1, Rect{});
    EXPECT_TRUE(reduced.pixels.empty());
}

TEST(RulerScale, TimesStepsNotesAndPitchRows) {
    // Column x sounds at (x + 1) * time / (width + 1).
    const double times[][4] = {{0, 299, 5, 5.0 / 300},
                               {299, 299, 5, 5.0 * 300 / 300},
                               {149.5, 299, 6, 6.0 * 150.5 / 300},
                               {-1, 99, 2, 0}};
    for (const auto& [column, width, seconds, t] : times) {
        EXPECT_DOUBLE_EQ(columnTime(column, int(width), seconds), t) << column;
        EXPECT_NEAR(timeColumn(t, int(width), seconds), column, 1e-9) << column;
    }
    const double steps[][3] = {{0.013, 0.02, 2}, {0.2, 0.2, 1}, {0.21, 0.5, 1}, {0.7, 1, 0},
                               {3, 5, 0},        {6, 10, 0},    {19, 20, 0},    {0.001, 0.001, 3}};
    for (const auto& [minimum, step, decimals] : steps) {
        EXPECT_DOUBLE_EQ(labelStep(minimum), step) << minimum;
        EXPECT_EQ(stepDecimals(step), int(decimals)) << step;
    }
    const std::pair<double, const char*> notes[] = {
        {440, "A4 +0 cents"},     {128.32, "C3 -33 cents"}, {8.1758, "C-1 +0 cents"},
        {452.89, "A4 +50 cents"}, {7902.13, "B8 +0 cents"}, {50, "G1 +35 cents"}};
    for (const auto& [hertz, text] : notes)
        EXPECT_EQ(noteText(hertz), text) << hertz;
    EXPECT_EQ(noteName(70), "A#4");
    EXPECT_NEAR(noteHertz(60), 261.6256, 1e-4);
    // Rows 50 Hz (bottom) to 800 Hz (top) over 5 rows: one octave per row.
    const std::vector<double> rows{50, 100, 200, 400, 800};
    EXPECT_EQ(std::pair(pitchRow(50, rows), pitchRow(800, rows)), std::pair(4.5, 0.5));
    EXPECT_NEAR(pitchRow(283, rows), 4.5 - std::log2(283.0 / 50), 1e-12);
    EXPECT_NEAR(rowsPerSemitone(rows), 1.0 / 12, 1e-12);
    EXPECT_TRUE(std::isnan(pitchRow(100, {50})) && std::isnan(pitchRow(100, {50, 50})));
    EXPECT_EQ(rowsPerSemitone({}), 0);
}

}  // namespace
}  // namespace lumetra
