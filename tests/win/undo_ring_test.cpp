// The program's undo ring over its settled undo folder: slot files written into a folder whose
// name lies outside ASCII and beyond MAX_PATH, Undo and Redo exchanging the pictures through
// them, and the ring in memory when there is no undo folder.

#include "shell/win/edit_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "ports_scratch.h"
#include "resources/resource_ids.h"
#include "shell/win/program.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

using ports::ScratchFolder;

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(ports::extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

class UndoRingTest : public ::testing::Test {
  protected:
    // The ring over `folder` for a program whose picture is `first`.
    void start(const std::wstring& folder, const PixelImage& first) {
        program_.settings.folders.undoFolder = folder;
        startUndoRing(program_);
        program_.undo->start(document());
        setPicture(first);
    }
    ImageDocument& document() { return program_.document; }
    void setPicture(const PixelImage& pixels) { adoptPixels(document().current, pixels); }
    const std::vector<std::uint8_t>& shown() { return document().current.pixels.bytes; }

    ScratchFolder scratch_;
    Program program_{GetModuleHandleW(nullptr)};
};

TEST_F(UndoRingTest, UndoAndRedoWalkTheSlotFilesOfALongFolder) {
    std::wstring folder = scratch_.path();
    for (int level = 0; level < 4; ++level) {
        folder += L"Undo \u00e4\u00f6\u00fc \u6f22\u5b57 " + std::wstring(60, L'x') + L"\\";
        ASSERT_TRUE(CreateDirectoryW(ports::extended(folder).c_str(), nullptr));
    }
    ASSERT_GT(folder.size(), std::size_t(MAX_PATH));
    const PixelImage first = testPattern(40, 30);
    const PixelImage second = testPattern(50, 20);
    const PixelImage third = testPattern(33, 17);
    start(folder, first);
    ASSERT_TRUE(storeUndoSnapshot(program_, true, 0));
    EXPECT_TRUE(fileExists(folder + L"Undo1.bmp"));
    setPicture(second);
    ASSERT_TRUE(storeUndoSnapshot(program_, true, 0));
    setPicture(third);

    // The second Undo reads the older picture back from its slot file, the second Redo the
    // newer one.
    undoCommand(program_, IDM_UNDO);
    EXPECT_EQ(shown(), second.bytes);
    EXPECT_TRUE(fileExists(folder + L"Undo3.bmp")) << "the picture undone is kept for Redo";
    undoCommand(program_, IDM_UNDO);
    EXPECT_EQ(shown(), first.bytes);
    undoCommand(program_, IDM_REDO);
    EXPECT_EQ(shown(), second.bytes);
    undoCommand(program_, IDM_REDO);
    EXPECT_EQ(shown(), third.bytes);
    EXPECT_EQ(document().current.settings.height, 17);
}

TEST_F(UndoRingTest, WithoutAnUndoFolderSnapshotsStayInMemory) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring stray = std::wstring(current) + L"\\Undo1.bmp";
    const bool strayBefore = fileExists(stray);
    const PixelImage first = testPattern(30, 20);
    start(L"", first);
    ASSERT_TRUE(storeUndoSnapshot(program_, false, 0));
    setPicture(testPattern(31, 20));
    undoCommand(program_, IDM_UNDO);
    EXPECT_EQ(shown(), first.bytes);
    EXPECT_EQ(fileExists(stray), strayBefore) << "no slot file beside the test";
}

}  // namespace
}  // namespace lumetra::win
