// The table of the commands that take only the picture: the undo snapshot each asks for, the wait
// cursor, the view refresh, and that each row runs its own operation.

#include "imageops/picture_commands.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "imageops/colour_operations.h"
#include "imageops_reference.h"

namespace lumetra {
namespace {

struct Rule {
    int command;
    bool askOnFailure;
    std::int32_t undoOperation;
    bool waitCursor;
    PictureRefresh refresh;
};

TEST(PictureCommands, SnapshotCursorAndRefreshRules) {
    using enum PictureRefresh;
    const Rule rules[] = {
        {223, true, 223, true, Repaint},  {224, true, 224, true, Repaint},
        {225, true, 225, true, Repaint},  {226, true, 226, true, Repaint},
        {227, true, 227, true, Repaint},  {228, true, 228, false, Repaint},
        {241, true, 241, false, Repaint}, {242, true, 242, false, Repaint},
        {243, true, 0, false, Layout},    {244, true, 0, false, Layout},
        {245, true, 0, false, Layout},    {246, true, 0, false, Layout},
        {207, false, 0, false, Repaint},
    };
    EXPECT_EQ(pictureCommands().size(), std::size(rules));
    for (const Rule& r : rules) {
        const PictureCommand* c = findPictureCommand(r.command);
        ASSERT_NE(c, nullptr) << r.command;
        EXPECT_EQ(c->askOnFailure, r.askOnFailure) << r.command;
        EXPECT_EQ(c->undoOperation, r.undoOperation) << r.command;
        EXPECT_EQ(c->waitCursor, r.waitCursor) << r.command;
        EXPECT_EQ(c->refresh, r.refresh) << r.command;
    }
    EXPECT_EQ(findPictureCommand(208), nullptr);
}

TEST(PictureCommands, EachRowRunsItsOperation) {
    using enum ColourOperation;
    const std::pair<int, ColourOperation> colours[] = {{223, Normalize}, {224, Brighten},
                                                       {225, Darken},    {226, MoreContrast},
                                                       {227, Invert},    {228, ClearExcessBlue}};
    for (const auto& [command, operation] : colours) {
        CanvasImage viaTable, direct;
        adoptPixels(viaTable, testing::randomPicture(4, 3, 1));
        for (std::uint8_t& byte : viaTable.pixels.bytes)
            byte = static_cast<std::uint8_t>(byte / 2);  // room to normalize, zeros to clear
        direct = viaTable;
        EXPECT_TRUE(findPictureCommand(command)->apply(viaTable).done);
        applyColourOperation(direct, operation);
        EXPECT_EQ(viaTable.pixels.bytes, direct.pixels.bytes) << command;
    }
    CanvasImage image;
    adoptPixels(image, testing::randomPicture(4, 3, 2));
    const PictureCommandResult doubled = findPictureCommand(244)->apply(image);
    EXPECT_TRUE(doubled.done && doubled.sizeChanged);
    EXPECT_EQ(image.pixels.height, 6);
    EXPECT_FALSE(findPictureCommand(246)->apply(image).sizeChanged);
}

// The program never holds such pictures, but an operation must not reach outside its memory for
// any it is given: bytes that do not match the size, or a selection wholly off the picture.
TEST(PictureCommands, LeaveMalformedPicturesAndSelectionsOffThePictureAlone) {
    for (const PictureCommand& command : pictureCommands()) {
        CanvasImage image;
        adoptPixels(image, testing::randomPicture(4, 3, 3));
        image.pixels.bytes.resize(20);
        const std::vector<std::uint8_t> before = image.pixels.bytes;
        command.apply(image);
        EXPECT_EQ(image.pixels.bytes, before) << command.command;

        adoptPixels(image, testing::randomPicture(4, 3, 3));
        image.selection = Rect{-5, 0, -1, 3};
        const CanvasImage whole = image;
        command.apply(image);
        // Clear Excess Blue, Double and Half do not look at the selection.
        const bool regionOnly =
            command.refresh == PictureRefresh::Repaint && command.command != 228;
        if (regionOnly) {
            EXPECT_EQ(image.pixels.bytes, whole.pixels.bytes) << command.command;
        }
    }
}

}  // namespace
}  // namespace lumetra
