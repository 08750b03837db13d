// The document's rules: each change raises one notification that says what changed, the changed
// mark follows pixels, size and settings only, and the names a picture is saved under never say
// another picture format.
#include "document/document.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/scoped_flag.h"
#include "document/document_render.h"
#include "document/save_names.h"
#include "memory_file_system.h"
#include "recording_ui.h"
#include "settable_clock.h"

namespace lumetra {
namespace {

struct Recorder final : DocumentObserver {
    void documentChanged(const DocumentNews& news) override { seen.push_back(news); }
    std::vector<DocumentNews> seen;
};

PixelImage picture(std::int32_t width, std::int32_t height) {
    std::string message;
    return *createCanvasBitmap(width, height, message);
}

class DocumentTest : public ::testing::Test {
  public:
    void SetUp() override {
        document.setObserver(&views);
        adoptPixels(document.current(), picture(5, 3));
        document.setUndoStore(std::make_unique<UndoStore>(files, clock, ui, "", 4));
    }
    // The one notification the last step raised, and the mark after it.
    std::tuple<unsigned, bool> last() {
        EXPECT_EQ(views.seen.size(), 1u);
        const unsigned what = views.seen.empty() ? 0u : views.seen.back().what;
        views.seen.clear();
        return {what, document.modified()};
    }

    testing::MemoryFileSystem files;
    testing::SettableClock clock;
    testing::RecordingUi ui;
    Recorder views;
    Document document;
};

TEST_F(DocumentTest, EachChangeSaysWhatChangedAndOnlyPixelsSizeAndSettingsMarkIt) {
    const unsigned flip = kChangedFile;  // the mark came or went: the title follows
    const std::pair<unsigned, bool> cases[] = {{kChangedSelection, false},
                                               {kPrepared, false},
                                               {kChangedPixels | flip, true},
                                               {kChangedPixels, true},
                                               {kChangedSize, true}};
    for (const auto& [what, modified] : cases) {
        document.changed(what & ~flip);
        EXPECT_EQ(last(), std::tuple(what, modified)) << what;
    }
    document.saved("C:\\a.bmp", "a.bmp");
    EXPECT_EQ(last(), std::tuple(kChangedFile | kSaved, false));
    document.editSettings(document.current().settings);
    EXPECT_EQ(last(), std::tuple(kPrepared, false));  // the same settings
    RenderSettings higher = document.current().settings;
    higher.highFrequency += 1;
    document.editSettings(higher);
    EXPECT_EQ(last(), std::tuple(kChangedSettings | flip, true));
    document.opened("C:\\b.jpg", "b.jpg");
    EXPECT_EQ(last(), std::tuple(kReplacedPicture | flip, false));
    document.changed(kChangedPixels);
    EXPECT_EQ(last(), std::tuple(kChangedPixels | flip, true));
    document.reverted();
    EXPECT_EQ(last(), std::tuple(kReplacedPicture | flip, false));
    EXPECT_EQ(std::tuple(document.path(), document.displayName()),
              std::tuple(std::filesystem::path("C:\\b.jpg"), "b.jpg"));
    document.saved("C:\\b.bmp", "b.bmp");
    EXPECT_EQ(std::tuple(document.path(), document.displayName()),
              std::tuple(std::filesystem::path("C:\\b.bmp"), "b.bmp"));
    document.changed(kChangedPixels);
    views.seen.clear();
    document.madeNew();
    EXPECT_EQ(last(), std::tuple(kReplacedPicture | flip, false));
    EXPECT_EQ(std::tuple(document.path(), document.displayName()),
              std::tuple(std::filesystem::path(), ""));
}

// Undo brings a whole picture back: its settings and new-picture steps always, its size only when
// it differs; a render (which fills the record outside the document's methods) marks nothing.
TEST_F(DocumentTest, UndoSaysItBroughtAPictureAndMarksTheDocument) {
    ASSERT_TRUE(document.storeUndoSnapshot(false, 0));
    document.current().pixels.bytes[0] = 9;
    document.changed(kChangedPixels);
    document.saved("C:\\a.bmp", "a.bmp");
    views.seen.clear();
    ASSERT_TRUE(document.undoCommand(kUndoCommand));
    EXPECT_EQ(last(),
              std::tuple(kChangedPixels | kChangedSettings | kNewPicture | kChangedFile, true));
    ASSERT_TRUE(document.storeUndoSnapshot(false, 0));
    adoptPixels(document.current(), picture(8, 3));
    document.changed(kChangedPixels | kChangedSize);
    views.seen.clear();
    ASSERT_TRUE(document.undoCommand(kUndoCommand));
    EXPECT_EQ(std::get<0>(last()),
              kChangedPixels | kChangedSettings | kNewPicture | kChangedSize | kChangedSelection);
    EXPECT_FALSE(document.undoCommand(999)) << "no such command";
    EXPECT_TRUE(views.seen.empty());
}

TEST(SaveNames, NeverBmpBytesUnderAnotherFormatsName) {
    const std::tuple<const char*, bool, const char*> names[] = {
        {"C:\\p\\mytest", false, "C:\\p\\mytest.bmp"},
        {"C:\\p\\mytest.jpg", false, "C:\\p\\mytest.jpg.bmp"},
        {"C:\\p\\mytest.BMP", true, "C:\\p\\mytest.BMP"},
        {"C:\\p\\a.bmp.jpg", false, "C:\\p\\a.bmp.jpg.bmp"},
        {"bmp", false, "bmp.bmp"}};
    for (const auto& [typed, isBmp, saved] : names)
        EXPECT_EQ(std::pair(isBmpName(typed), bmpSaveName(typed)),
                  std::pair(isBmp, std::filesystem::path(saved)))
            << typed;
    const std::pair<const char*, const char*> proposed[] = {{"track.take.png", "track.take.bmp"},
                                                            {"scan", "scan.bmp"},
                                                            {".hidden", ".hidden.bmp"},
                                                            {"old.BMP", "old.BMP"},
                                                            {"", ""}};
    for (auto [name, bmp] : proposed)
        EXPECT_EQ(proposedBmpName(name), bmp) << name;
    EXPECT_EQ(saveChangesQuestion("photo.jpg"), "Save changes to photo.jpg?");
    EXPECT_EQ(saveChangesQuestion(""), "Save changes to Untitled?");
    EXPECT_EQ(savedStatus("a.bmp"), "Saved a.bmp");
}

// The render's running flag: an exception that leaves the render must not leave the flag set,
// or every later command would be dropped.
TEST(ScopedFlagTest, ClearsTheFlagHoweverTheScopeIsLeft) {
    bool running = false;
    try {
        ScopedFlag flag(running);
        EXPECT_TRUE(running);
        throw std::runtime_error("a failure inside the render");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(running);
}

}  // namespace
}  // namespace lumetra
