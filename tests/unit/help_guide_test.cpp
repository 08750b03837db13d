#include "shell/help_guide.h"

#include <gtest/gtest.h>

#include <string>

#include "memory_file_system.h"

namespace lumetra {
namespace {

using testing::MemoryFileSystem;

TEST(HelpGuide, EachToolKeywordHasItsSectionAndEverythingElseTheContents) {
    const struct {
        const char* keyword;
        const char* anchor;
    } cases[] = {
        {"Brush toolbox", "brush-toolbox"},
        {"Echord toolbox", "echord-toolbox"},
        {"Image Browser", "image-browser"},
        {"Render options", "render-options"},
        {"render OPTIONS", "render-options"},
        {"", ""},
        {"Brush", ""},
        {"Brush toolbox ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(guideAnchor(c.keyword), c.anchor) << c.keyword;
}

TEST(HelpGuide, FileUrlsEscapeWhatACommandLineOrABrowserWouldMisread) {
    const struct {
        const char* path;
        const char* anchor;
        const char* url;
    } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(fileUrl(c.path, c.anchor), c.url) << c.path;
}

TEST(HelpGuide, OpenCommandsTakeTheUrlWhereTheirPlaceholderStands) {
    const char* url = "file:///C:/L/guide/index.html#render-options";
    const struct {
        const char* command;
        std::string line;
    } cases[] = {
        {"\"C:\\Web\\browser.exe\" \"%1\"",
         "\"C:\\Web\\browser.exe\" \"file:///C:/L/guide/index.html#render-options\""},
        {"C:\\Web\\browser.exe -osint -url %L %*",
         "C:\\Web\\browser.exe -osint -url file:///C:/L/guide/index.html#render-options "},
        {"browser.exe --single-argument %v", "browser.exe --single-argument " + std::string(url)},
        {"browser.exe /id %I %2 100%% %x",
         "browser.exe /id   100% %x \"" + std::string(url) + "\""},
        {"C:\\Web\\browser.exe", "C:\\Web\\browser.exe \"" + std::string(url) + "\""},
        {"browser.exe %", "browser.exe % \"" + std::string(url) + "\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openCommandLine(c.command, url), c.line) << c.command;
}

class HelpPlanTest : public ::testing::Test {
  protected:
    HelpPlan plan(const std::string& keyword = "", bool engine = true) {
        return planHelp(files_, "C:\\Lumetra", engine, keyword);
    }

    MemoryFileSystem files_;
};

TEST_F(HelpPlanTest, TheHelpFileNeedsItsEngineElseTheGuideOpensAtTheKeywordsSection) {
    const char* hlp = "C:\\Lumetra\\Lumetra.hlp";
    const char* guide = "C:\\Lumetra\\guide\\index.html";
    const struct {
        bool hlp, engine, guide;
        HelpRoute route;
        const char* file;
    } cases[] = {
        {true, true, true, HelpRoute::HelpFile, hlp},
        {true, true, false, HelpRoute::HelpFile, hlp},
        {true, false, true, HelpRoute::Guide, guide},
        {false, true, true, HelpRoute::Guide, guide},
        {false, false, true, HelpRoute::Guide, guide},
        {true, false, false, HelpRoute::NoHelp, guide},
        {false, false, false, HelpRoute::NoHelp, guide},
    };
    for (const auto& c : cases) {
        files_ = MemoryFileSystem{};
        if (c.hlp) files_.put(hlp, "?_");
        if (c.guide) files_.put(guide, "<html>");
        const HelpPlan p = plan("Echord toolbox", c.engine);
        EXPECT_EQ(p.route, c.route) << c.hlp << c.engine << c.guide;
        EXPECT_EQ(p.file, c.file) << c.hlp << c.engine << c.guide;
        EXPECT_EQ(p.keyword, c.route == HelpRoute::NoHelp ? "" : "Echord toolbox");
        EXPECT_EQ(p.url, c.route == HelpRoute::Guide
                             ? "file:///C:/Lumetra/guide/index.html#echord-toolbox"
                             : "");
    }
}

TEST_F(HelpPlanTest, FoldersInTheirPlacesAreNoFilesAndNoKeywordMeansTheContents) {
    files_.addFolder("C:\\Lumetra\\Lumetra.hlp");
    files_.put("C:\\Lumetra\\guide\\index.html", "<html>");
    const HelpPlan p = plan();
    EXPECT_EQ(p.route, HelpRoute::Guide);
    EXPECT_EQ(p.url, "file:///C:/Lumetra/guide/index.html");

    files_ = MemoryFileSystem{};
    files_.addFolder("C:\\Lumetra\\guide\\index.html");
    EXPECT_EQ(plan().route, HelpRoute::NoHelp);
    EXPECT_NE(missingGuideText(plan().file).find("C:\\Lumetra\\guide\\index.html"),
              std::string::npos);
}

}  // namespace
}  // namespace lumetra
