// The undo ring over real BMP files in a scratch folder: pictures of odd sizes walk through the
// slot files and come back byte for byte, with their render records, and broken slot files are
// refused without harm.

#include "image/undo_bmp_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "image/bmp_reader.h"
#include "shell/file_io.h"

namespace lumetra {
namespace {

CanvasImage picture(std::int32_t width, std::int32_t height, std::uint8_t seed) {
    CanvasImage image;
    std::string message;
    adoptPixels(image, *createCanvasBitmap(width, height, message));
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(image.pixels, x, y,
                     Rgb{std::uint8_t(seed + 31 * x + y), std::uint8_t(seed ^ (7 * y)),
                         std::uint8_t(seed + (x ^ y))});
    return image;
}

RenderInfoRecord renderedRecord(float lowFrequency) {
    RenderInfoRecord record;
    record.setMagic();
    record.size = RenderInfoRecord::kSizeFromRender;
    record.version = RenderInfoRecord::kVersion;
    record.valid = 1;
    record.command = 300;
    record.lowFrequency = lowFrequency;
    record.highFrequency = 9000.0f;
    record.ampFactor = 4.5f;
    record.outputTime = 2.25f;
    return record;
}

class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("lumetra-undo-") + test->name() + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    const std::filesystem::path& path() const { return path_; }

    std::set<std::string> names() const {
        std::set<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            result.insert(entry.path().filename().string());
        return result;
    }

  private:
    std::filesystem::path path_;
};

class NoClock : public TickClock {
  public:
    std::uint32_t tickCount() override { return 0; }
};

class NoPrompts : public UndoPrompts {
  public:
    void showStatus(const std::string&) override {}
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
};

TEST(UndoBmpFiles, PicturesWalkThroughTheSlotFilesByteForByte) {
    ScratchFolder folder;
    UndoBmpFiles files;
    NoClock clock;
    NoPrompts prompts;
    UndoStore store(files, clock, prompts, folder.path(), 10);
    ImageDocument document;
    const CanvasImage a = picture(3, 2, 1);
    const CanvasImage b = picture(5, 4, 2);
    CanvasImage c = picture(7, 3, 3);
    c.renderInfo = renderedRecord(33.0f);
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
    EXPECT_EQ(folder.names(), (std::set<std::string>{"Undo1.bmp", "Undo2.bmp", "Undo3.bmp"}));
    std::vector<std::uint8_t> bytes;
    std::string message;
    ASSERT_TRUE(readWholeFile(folder.path() / "Undo3.bmp", bytes, message, 1 << 20));
    const BmpReadResult decoded = decodeBmp(bytes);
    ASSERT_TRUE(decoded.pixels);
    EXPECT_EQ(decoded.pixels->bytes, c.pixels.bytes);
    EXPECT_EQ(bytes.size(), 54 + c.pixels.bytes.size() + RenderInfoRecord::kBytes);
}

TEST(UndoBmpFiles, RecordsStayOutWhenAttachingIsOff) {
    ScratchFolder folder;
    UndoBmpFiles files(false);
    CanvasImage image = picture(6, 5, 9);
    image.renderInfo = renderedRecord(40.0f);
    const auto path = folder.path() / "Undo1.bmp";
    ASSERT_TRUE(files.save(image, path));
    EXPECT_EQ(std::filesystem::file_size(path), 54 + image.pixels.bytes.size());
    CanvasImage loaded;
    ASSERT_TRUE(files.load(loaded, path));
    EXPECT_EQ(loaded.pixels.bytes, image.pixels.bytes);
    EXPECT_EQ(loaded.renderInfo.valid, 0u);
}

TEST(UndoBmpFiles, BrokenOrMissingSlotFilesAreRefusedWithoutHarm) {
    ScratchFolder folder;
    UndoBmpFiles files;
    const CanvasImage kept = picture(4, 4, 5);
    CanvasImage image = kept;

    EXPECT_FALSE(files.load(image, folder.path() / "Undo9.bmp"));
    const auto truncated = folder.path() / "Undo2.bmp";
    ASSERT_TRUE(files.save(picture(9, 9, 7), truncated));
    std::filesystem::resize_file(truncated, 60);  // the headers and a few pixels
    EXPECT_FALSE(files.load(image, truncated));
    {
        std::ofstream junk(folder.path() / "Undo3.bmp", std::ios::binary);
        junk << "not a picture at all";
    }
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
