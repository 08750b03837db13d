#pragma once
// Where the help command takes the user: the HTML user guide installed beside the program
// (guide\index.html), opened in the user's browser at the section of the active tool window's
// help keyword, or at its contents page. Where a classic help file lies beside the program and
// the system still has the engine that shows such files, that file is opened instead.
//
// Paths here are Windows paths as UTF-8 text.

#include <string>
#include <string_view>

#include "base/file_system.h"

namespace lumetra {

inline constexpr std::string_view kHelpFileName = "Lumetra.hlp";
inline constexpr std::string_view kGuidePage = "guide\\index.html";  // below the program folder

// The guide's section for a help keyword ("Brush toolbox" is "brush-toolbox"); empty for the
// contents page: no keyword, or one the guide has no section for. Case does not matter.
std::string_view guideAnchor(std::string_view keyword);

// The file: URL of a Windows path ("C:\A b\x.html" is "file:///C:/A%20b/x.html", a UNC path
// "\\host\share\x" is "file://host/share/x"), with the anchor as its fragment unless it is
// empty. Every byte but letters, digits, "-._~", "/" and ":" is percent-escaped, so the URL
// holds no space and passes through a command line as one word.
std::string fileUrl(std::string_view windowsPath, std::string_view anchor = {});

enum class HelpRoute {
    HelpFile,  // the classic help file with its engine
    Guide,     // the HTML guide in the browser
    NoHelp,    // neither is there
};

struct HelpPlan {
    HelpRoute route = HelpRoute::NoHelp;
    std::string file;     // the help file or guide page (NoHelp: the guide page looked for)
    std::string keyword;  // HelpFile: the keyword to look up; empty for the contents
    std::string url;      // Guide: the page's URL at the keyword's section
};

// The help file wins only when it lies beside the program and the system has an engine for it;
// otherwise the guide.
HelpPlan planHelp(FileSystem& files, std::string_view programFolder, bool helpEngine,
                  std::string_view keyword);

// The warning when there is no help to open.
std::string missingGuideText(std::string_view guidePage);

// The command line that opens `url` with the open command registered for a file type:
// "%1", "%L" and "%V" take the URL, "%*", "%2".."%9", "%I" and "%D" go, "%%" is "%". A command
// without a place for the URL gets it appended in quotes.
std::string openCommandLine(std::string_view command, std::string_view url);

}  // namespace lumetra
