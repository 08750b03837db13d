// The real file system in a scratch folder: a replace in one step, failures that leave files as
// they were with the system's error number, and the facts of the process.
#include "base/standard_file_system.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

class StandardFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    bool write(const std::filesystem::path& path, const std::string& text) {
        const std::unique_ptr<FileSink> sink = files.create(path);
        return sink && sink->write(text.data(), text.size()) == text.size() && sink->close();
    }
    std::string contents(const std::filesystem::path& path) {
        std::vector<std::uint8_t> bytes;
        if (files.read(path, bytes, 1000) != ReadOutcome::Read) return "<unreadable>";
        return std::string(bytes.begin(), bytes.end());
    }

    StandardFileSystem files;
    const std::filesystem::path folder =
        std::filesystem::current_path() / "test-scratch" /
        ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(StandardFiles, WriteRewriteTheStartReadBackAndReplace) {
    const std::filesystem::path name = folder / std::filesystem::path(u8"Kl\u00e4nge \u266b.wav");
    const std::unique_ptr<FileSink> sink = files.create(name);
    ASSERT_TRUE(sink);
    EXPECT_EQ(sink->write("header--body", 12), 12u);
    EXPECT_EQ(sink->write(nullptr, 0), 0u);  // an empty piece, as a picture without its record
    EXPECT_TRUE(sink->rewriteStart("HEADER", 6) && sink->close());
    EXPECT_EQ(contents(name), "HEADER--body");
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(std::pair(files.read(name, bytes, 11), files.read(name, bytes, 12)),
              std::pair(ReadOutcome::TooLarge, ReadOutcome::Read));
    {
        // Pieces at any offset, the last byte included; none past the end.
        const std::unique_ptr<FileSource> source = files.openForReading(name);
        std::uint8_t piece[4] = {};
        ASSERT_TRUE(source && source->size() == 12u && source->readAt(8, piece));
        EXPECT_TRUE(std::string(piece, piece + 4) == "body" && !source->readAt(9, piece));
        EXPECT_FALSE(files.openForReading(folder / "gone"));
    }
    EXPECT_TRUE(files.truncate(name, 6) && contents(name) == "HEADER");
    // A replace is one rename over the target.
    const auto part = folder / "a.part";
    ASSERT_TRUE(write(part, "new"));
    EXPECT_TRUE(files.replace(part, name) && contents(name) == "new" && !files.attributes(part));
    // A target that is a folder, or a source that has gone: nothing moves, the error is told.
    ASSERT_TRUE(files.createDirectory(folder / "dir") && write(part, "newer"));
    EXPECT_FALSE(files.replace(part, folder / "dir"));
    EXPECT_TRUE(files.lastError().code != 0 && contents(part) == "newer");
    EXPECT_FALSE(files.replace(folder / "gone", name));
    EXPECT_EQ(contents(name), "new");
}

TEST_F(StandardFiles, FailuresFoldersAttributesAndTheProcess) {
    EXPECT_FALSE(files.create(folder / "missing" / "a.wav"));
    EXPECT_TRUE(files.lastError().code == ENOENT && !files.lastError().text.empty());
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(
        std::pair(files.read(folder / "none.bmp", bytes, 1000), files.read(folder, bytes, 1000)),
        std::pair(ReadOutcome::CannotOpen, ReadOutcome::CannotOpen));
    EXPECT_FALSE(files.truncate(folder / "none.bmp", 0));
    ASSERT_TRUE(write(folder / "x", "x"));
    EXPECT_TRUE(files.remove(folder / "x") && !files.attributes(folder / "x"));
    EXPECT_TRUE(files.remove(folder / "x"));  // a missing file counts as removed
    EXPECT_TRUE(files.createDirectory(folder / "sub"));
    EXPECT_FALSE(files.createDirectory(folder / "sub"));  // there already
    EXPECT_FALSE(files.createDirectory(folder / "no" / "sub"));
    const auto sub = files.attributes(folder / "sub");
    EXPECT_TRUE(sub && sub->directory && !sub->readOnly);
    ASSERT_TRUE(write(folder / "f", "f"));
    std::filesystem::permissions(folder / "f", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const auto file = files.attributes(folder / "f");
    EXPECT_TRUE(file && !file->directory && file->readOnly);
    // Windows does not remove a read-only file with its folder.
    std::filesystem::permissions(folder / "f", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(files.currentDirectory(), std::filesystem::current_path());
    EXPECT_TRUE(files.environmentVariable("PATH") &&
                !files.environmentVariable("LUMETRA_SURELY_UNSET_VARIABLE"));
}

}  // namespace
}  // namespace lumetra
