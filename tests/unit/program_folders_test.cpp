// Where the program finds its folders and its help.
#include "shell/program_folders.h"

#include <gtest/gtest.h>

#include <string>

#include "base/file_io.h"
#include "memory_file_system.h"
#include "shell/help_guide.h"

namespace lumetra {
namespace {

using testing::MemoryFileSystem;

// The program in "C:\Program Files\Lumetra", started from the user's folder.
MemoryFileSystem windowsFiles() {
    MemoryFileSystem files;
    files.module = "C:\\Program Files\\Lumetra\\Lumetra.exe";
    files.current = "C:\\Users\\me";
    for (const char* folder : {"C:\\", "C:\\Program Files\\", "C:\\Program Files\\Lumetra\\",
                               "C:\\Users\\", "C:\\Users\\me\\"})
        files.addFolder(folder);
    return files;
}

const std::string kBase = "C:\\Program Files\\Lumetra\\";

TEST(PathHelpers, FolderOfPathAndTrailingBackslash) {
    EXPECT_EQ(folderOfPath("C:\\Images\\a.bmp"), "C:\\Images\\");
    EXPECT_EQ(folderOfPath("a.bmp") + folderOfPath(""), "");
    EXPECT_EQ(folderOfPath("C:a.bmp"), "C:");
    EXPECT_EQ(folderOfPath("D:/music/take 1.wav"), "D:/music/");
    EXPECT_EQ(folderOfPath("\\\\server\\share\\pic.bmp"), "\\\\server\\share\\");
    EXPECT_EQ(folderOfPath("C:\\Gr\xC3\xBCn\\\xE6\x9C\xA8.bmp"), "C:\\Gr\xC3\xBCn\\");
    EXPECT_EQ(ensureTrailingBackslash("C:\\Sounds") + ensureTrailingBackslash("C:\\S\\"),
              "C:\\Sounds\\C:\\S\\");
    EXPECT_EQ(ensureTrailingBackslash("C:/S/") + ensureTrailingBackslash("C:"), "C:/S/C:\\");
    EXPECT_EQ(ensureTrailingBackslash(""), "");
}

ProgramFolders settled(MemoryFileSystem& fs, ProgramFolders folders = {}) {
    settleFolders(folders, fs);
    return folders;
}

// The base, image, filter, undo, soundfile and analyses folders.
std::string text(const ProgramFolders& f) {
    std::string text;
    for (const auto* folder : {&f.baseFolder, &f.imageFolder, &f.filterFolder, &f.undoFolder,
                               &f.soundfileFolder, &f.analysesFolder})
        text += utf8FromPath(*folder) + "|";
    return text;
}

std::string beside(const std::string& b) {
    return b + "|" + b + "Images\\|" + b + "Filters\\|" + b + "Undo\\|" + b + "|" + b +
           "Analyses\\|";
}

TEST(ProgramFolders, NothingStoredGivesTheFoldersBesideTheProgram) {
    MemoryFileSystem fs = windowsFiles();
    EXPECT_EQ(text(settled(fs)), beside(kBase));
    EXPECT_EQ(fs.createdFolders,
              (std::vector<std::filesystem::path>{kBase + "Images\\", kBase + "Filters\\",
                                                  kBase + "Undo\\", kBase + "Analyses\\"}));
    // Without the module path the current folder is the base; unmade folders are kept anyway.
    fs.module.reset();
    EXPECT_EQ(text(settled(fs)), beside("C:\\Users\\me\\"));
    EXPECT_TRUE(fs.isFolder("C:\\Users\\me\\Images\\"));
    fs.module = "Q:\\Missing\\Lumetra.exe";
    EXPECT_TRUE(text(settled(fs)) == beside("Q:\\Missing\\") &&
                !fs.isFolder("Q:\\Missing\\Images\\"));
}

TEST(ProgramFolders, StoredFoldersAreKeptOnlyWhileUsable) {
    MemoryFileSystem fs = windowsFiles();
    for (const char* folder : {"D:\\", "D:\\Pics\\", "D:\\Wav\\"})
        fs.addFolder(folder);
    fs.addFolder("D:\\Locked\\", /*readOnly=*/true);
    fs.put("D:\\notes.txt", "");
    const std::string music = "C:\\Users\\me\\M\xC3\xBCsik\\";
    // It exists, but has more than the 255 characters kept.
    const std::string overlong = "C:\\Users\\me\\" + std::string(250, 'x') + "\\";
    fs.addFolder(pathFromUtf8(music));
    fs.addFolder(overlong);
    fs.environment["SFDIR"] = "E:\\Elsewhere";
    using Field = std::filesystem::path ProgramFolders::*;
    const std::tuple<Field, std::string, std::string> cases[] = {
        {&ProgramFolders::imageFolder, music, music},
        {&ProgramFolders::filterFolder, "D:\\Pics", "D:\\Pics"},
        {&ProgramFolders::soundfileFolder, "D:\\Wav", "D:\\Wav\\"},  // before the variable
        {&ProgramFolders::imageFolder, "D:\\Gone\\", kBase + "Images\\"},
        {&ProgramFolders::filterFolder, "D:\\Locked\\", kBase + "Filters\\"},
        {&ProgramFolders::filterFolder, overlong, kBase + "Filters\\"},
        {&ProgramFolders::analysesFolder, "D:\\notes.txt", kBase + "Analyses\\"},
        {&ProgramFolders::soundfileFolder, "D:\\Gone", "E:\\Elsewhere\\"},
    };
    for (const auto& [field, stored, expected] : cases) {
        ProgramFolders folders;
        folders.*field = pathFromUtf8(stored);
        EXPECT_EQ(utf8FromPath(settled(fs, folders).*field), expected) << stored;
    }
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

// (That every keyword's anchor is a section of the guide: tests/guide.)
TEST(HelpGuide, AKeywordGivesItsSectionAndFileUrlsEscapeWhatABrowserWouldMisread) {
    EXPECT_EQ(guideAnchor("render OPTIONS"), "render-options");
    for (const char* keyword : {"", "Brush", "Brush toolbox "})
        EXPECT_EQ(guideAnchor(keyword), "") << keyword;
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\Program Files (x86)\\Lumetra\\guide\\index.html", "brush-toolbox",
         "file:///C:/Program%20Files%20%28x86%29/Lumetra/guide/index.html#brush-toolbox"},
        {"D:\\Kl\xC3\xA4nge\\#1 50%\\index.html", "",
         "file:///D:/Kl%C3%A4nge/%231%2050%25/index.html"},
        {"\\\\studio\\share\\guide\\index.html", "image-browser",
         "file://studio/share/guide/index.html#image-browser"},
        {"\\\\?\\UNC\\studio\\share\\index.html", "", "file://studio/share/index.html"},
        {"Z:\\home\\me\\a+b;c&d=e\\index.html", "",
         "file:///Z:/home/me/a%2Bb%3Bc%26d%3De/index.html"},
    };
    for (const auto& [path, anchor, url] : cases)
        EXPECT_EQ(fileUrl(path, anchor), url) << path;
}

TEST(HelpGuide, OpenCommandsTakeTheUrlWhereTheirPlaceholderStands) {
    const std::string url = "file:///C:/L/guide/index.html#render-options";
    const Pairs cases = {
        {"\"C:\\Web\\browser.exe\" \"%1\"", "\"C:\\Web\\browser.exe\" \"" + url + "\""},
        {"C:\\Web\\browser.exe -osint -url %L %*", "C:\\Web\\browser.exe -osint -url " + url + " "},
        {"browser.exe /id %I %2 100%% %x", "browser.exe /id   100% %x \"" + url + "\""},
        {"browser.exe %", "browser.exe % \"" + url + "\""},
    };
    for (const auto& [command, line] : cases)
        EXPECT_EQ(openCommandLine(command, url), line) << command;
}

TEST(HelpGuide, TheHelpFileNeedsItsEngineElseTheGuideOpensAtTheKeywordsSection) {
    const std::string hlp = "C:\\Lumetra\\Lumetra.hlp", guide = "C:\\Lumetra\\guide\\index.html";
    // Help file, engine and guide there or not; the route and the file it opens.
    const std::tuple<bool, bool, bool, HelpRoute, const std::string&> cases[] = {
        {true, true, false, HelpRoute::HelpFile, hlp},
        {true, false, true, HelpRoute::Guide, guide},
        {false, true, true, HelpRoute::Guide, guide},
        {true, false, false, HelpRoute::NoHelp, guide}};
    for (const auto& [hasHlp, engine, hasGuide, route, file] : cases) {
        testing::MemoryFileSystem files;
        if (hasHlp) files.put(hlp, "?_");
        if (hasGuide) files.put(guide, "<html>");
        const HelpPlan p = planHelp(files, "C:\\Lumetra", engine, "Echord toolbox");
        SCOPED_TRACE(::testing::Message() << hasHlp << engine << hasGuide);
        EXPECT_EQ(std::tuple(p.route, p.file, p.keyword, p.url),
                  std::tuple(route, file, route == HelpRoute::NoHelp ? "" : "Echord toolbox",
                             route == HelpRoute::Guide
                                 ? "file:///C:/Lumetra/guide/index.html#echord-toolbox"
                                 : ""));
    }
    // Folders in their places are no files; no keyword means the contents.
    testing::MemoryFileSystem files;
    files.addFolder(hlp);
    files.put(guide, "<html>");
    EXPECT_EQ(planHelp(files, "C:\\Lumetra", true, "").url, "file:///C:/Lumetra/guide/index.html");
    files = testing::MemoryFileSystem{};
    files.addFolder(guide);
    const HelpPlan none = planHelp(files, "C:\\Lumetra", true, "");
    EXPECT_EQ(none.route, HelpRoute::NoHelp);
    EXPECT_NE(missingGuideText(none.file).find(guide), std::string::npos);
}

}  // namespace
}  // namespace lumetra
