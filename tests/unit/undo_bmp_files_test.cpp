// The undo ring over real BMP files in a scratch folder: pictures of odd sizes walk through the
// slot files and come back byte for byte, with their render records, and broken slot files are
// refused without harm.

#include "document/undo_bmp_files.h"
#include "document/document_render.h"

#include <gtest/gtest.h>

#include <set>

#include "bmp_test_files.h"
#include "image/bmp_reader.h"
#include "render/render_info.h"

namespace lumetra {
namespace {

class NoClock : public TickClock {
  public:
    std::uint32_t tickCount() override { return 0; }
};

class NoPrompts : public UndoPrompts {
  public:
    void showStatus(const std::string&) override {}
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
};

class UndoBmpFilesTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder{std::string("undo-bmp-") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

TEST_F(UndoBmpFilesTest, PicturesWalkThroughTheSlotFilesByteForByte) {
    UndoBmpFiles files;
    NoClock clock;
    NoPrompts prompts;
    UndoStore store(files, clock, prompts, folder.path(), 10);
    ImageDocument document;
    const CanvasImage a = testing::patternPicture(3, 2, 1);
    const CanvasImage b = testing::patternPicture(5, 4, 2);
    CanvasImage c = testing::patternPicture(7, 3, 3);
    c.settings.lowFrequency = 33.0;
    recordRender(c, 300, 1.0, LocalTime{});
    document.current = a;
    store.start(document);

    // Two operations: A becomes B becomes C.
    ASSERT_TRUE(store.storeUndoSnapshot(document, false, 0));
    document.current = b;
    ASSERT_TRUE(store.storeUndoSnapshot(document, false, 0));
    document.current = c;

    // Undo, Undo (reads slot 1), Redo, Redo (reads slot 3).
    ASSERT_TRUE(store.runUndoCommand(document, kUndoCommand).exchanged);
    EXPECT_EQ(document.current.pixels.bytes, b.pixels.bytes);
    ASSERT_TRUE(store.runUndoCommand(document, kUndoCommand).exchanged);
    EXPECT_EQ(document.current.pixels.width, 3);
    EXPECT_EQ(document.current.pixels.bytes, a.pixels.bytes);
    ASSERT_TRUE(store.runUndoCommand(document, kRedoCommand).exchanged);
    EXPECT_EQ(document.current.pixels.bytes, b.pixels.bytes);
    const UndoCommandResult last = store.runUndoCommand(document, kRedoCommand);
    ASSERT_TRUE(last.exchanged);
    EXPECT_TRUE(last.sizeChanged);
    EXPECT_EQ(document.current.pixels.width, 7);
    EXPECT_EQ(document.current.pixels.height, 3);
    EXPECT_EQ(document.current.pixels.bytes, c.pixels.bytes);
    EXPECT_EQ(document.current.renderInfo.valid, 1u);
    EXPECT_EQ(document.current.renderInfo.lowFrequency, 33.0f);

    // Only the slot files are left: no temporary files and no ".info" files.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Undo1.bmp", "Undo2.bmp", "Undo3.bmp"}));
    const std::vector<std::uint8_t> bytes = testing::readFileBytes(folder / "Undo3.bmp");
    const BmpReadResult decoded = decodeBmp(bytes);
    ASSERT_TRUE(decoded.pixels);
    EXPECT_EQ(decoded.pixels->bytes, c.pixels.bytes);
    EXPECT_EQ(bytes.size(), 54 + c.pixels.bytes.size() + RenderInfoRecord::kBytes);
}

TEST_F(UndoBmpFilesTest, RecordsStayOutWhenAttachingIsOff) {
    UndoBmpFiles files(false);
    CanvasImage image = testing::patternPicture(6, 5, 9);
    recordRender(image, 300, 1.0, LocalTime{});
    const auto path = folder.path() / "Undo1.bmp";
    ASSERT_TRUE(files.save(image, path));
    EXPECT_EQ(std::filesystem::file_size(path), 54 + image.pixels.bytes.size());
    CanvasImage loaded;
    ASSERT_TRUE(files.load(loaded, path));
    EXPECT_EQ(loaded.pixels.bytes, image.pixels.bytes);
    EXPECT_EQ(loaded.renderInfo.valid, 0u);
}

TEST_F(UndoBmpFilesTest, BrokenOrMissingSlotFilesAreRefusedWithoutHarm) {
    UndoBmpFiles files;
    const CanvasImage kept = testing::patternPicture(4, 4, 5);
    CanvasImage image = kept;

    EXPECT_FALSE(files.load(image, folder.path() / "Undo9.bmp"));
    const auto truncated = folder.path() / "Undo2.bmp";
    ASSERT_TRUE(files.save(testing::patternPicture(9, 9, 7), truncated));
    std::filesystem::resize_file(truncated, 60);  // the headers and a few pixels
    EXPECT_FALSE(files.load(image, truncated));
    testing::writeFileText(folder / "Undo3.bmp", "not a picture at all");
    EXPECT_FALSE(files.load(image, folder.path() / "Undo3.bmp"));
    EXPECT_EQ(image.pixels.bytes, kept.pixels.bytes);
    EXPECT_EQ(image.pixels.width, 4);

    // A slot in a folder that has gone cannot be written.
    EXPECT_FALSE(files.save(kept, folder.path() / "gone" / "Undo1.bmp"));
    // An empty picture is never written as a slot.
    EXPECT_FALSE(files.save(CanvasImage{}, folder.path() / "Undo4.bmp"));
}

}  // namespace
}  // namespace lumetra
