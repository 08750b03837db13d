#include "shell/help_guide.h"

#include <gtest/gtest.h>

#include <string>

#include "memory_file_system.h"

namespace lumetra {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// (That every keyword's anchor is a section of the guide: tests/guide.)
TEST(HelpGuide, AKeywordGivesItsSectionAndEverythingElseTheContents) {
    EXPECT_EQ(guideAnchor("Brush toolbox"), "brush-toolbox");
    EXPECT_EQ(guideAnchor("render OPTIONS"), "render-options");
    for (const char* keyword : {"", "Brush", "Brush toolbox "})
        EXPECT_EQ(guideAnchor(keyword), "") << keyword;
}

TEST(HelpGuide, FileUrlsEscapeWhatACommandLineOrABrowserWouldMisread) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\Lumetra\\guide\\index.html", "", "file:///C:/Lumetra/guide/index.html"},
        {"C:\\Program Files (x86)\\Lumetra\\guide\\index.html", "brush-toolbox",
         "file:///C:/Program%20Files%20%28x86%29/Lumetra/guide/index.html#brush-toolbox"},
        {"D:\\Kl\xC3\xA4nge\\#1 50%\\index.html", "",
         "file:///D:/Kl%C3%A4nge/%231%2050%25/index.html"},
        {"\\\\studio\\share\\guide\\index.html", "image-browser",
         "file://studio/share/guide/index.html#image-browser"},
        {"\\\\?\\C:\\Lumetra\\guide\\index.html", "", "file:///C:/Lumetra/guide/index.html"},
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
        {"browser.exe --single-argument %v", "browser.exe --single-argument " + url},
        {"browser.exe /id %I %2 100%% %x", "browser.exe /id   100% %x \"" + url + "\""},
        {"C:\\Web\\browser.exe", "C:\\Web\\browser.exe \"" + url + "\""},
        {"browser.exe %", "browser.exe % \"" + url + "\""},
    };
    for (const auto& [command, line] : cases)
        EXPECT_EQ(openCommandLine(command, url), line) << command;
}

TEST(HelpGuide, TheHelpFileNeedsItsEngineElseTheGuideOpensAtTheKeywordsSection) {
    const std::string hlp = "C:\\Lumetra\\Lumetra.hlp", guide = "C:\\Lumetra\\guide\\index.html";
    // Help file, engine and guide there or not; the route and the file it opens.
    const std::tuple<bool, bool, bool, HelpRoute, const std::string&> cases[] = {
        {true, true, true, HelpRoute::HelpFile, hlp},
        {true, true, false, HelpRoute::HelpFile, hlp},
        {true, false, true, HelpRoute::Guide, guide},
        {false, true, true, HelpRoute::Guide, guide},
        {false, false, true, HelpRoute::Guide, guide},
        {true, false, false, HelpRoute::NoHelp, guide},
        {false, false, false, HelpRoute::NoHelp, guide},
    };
    for (const auto& [hasHlp, engine, hasGuide, route, file] : cases) {
        testing::MemoryFileSystem files;
        if (hasHlp) files.put(hlp, "?_");
        if (hasGuide) files.put(guide, "<html>");
        const HelpPlan p = planHelp(files, "C:\\Lumetra", engine, "Echord toolbox");
        SCOPED_TRACE(::testing::Message() << hasHlp << engine << hasGuide);
        EXPECT_EQ(p.route, route);
        EXPECT_EQ(p.file, file);
        EXPECT_EQ(p.keyword, route == HelpRoute::NoHelp ? "" : "Echord toolbox");
        EXPECT_EQ(p.url, route == HelpRoute::Guide
                             ? "file:///C:/Lumetra/guide/index.html#echord-toolbox"
                             : "");
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
