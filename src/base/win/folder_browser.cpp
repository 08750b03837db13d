#include "base/win/folder_browser.h"

#include <shlobj.h>

#include <vector>

#include "base/path_text.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"

namespace lumetra::win {
namespace {

// The classic browser dialog's title line above its folder tree.
constexpr int kTitleLine = 0x3742;
// Paths of any length fit.
constexpr DWORD kPathChars = 32768;

// An item list from the shell, freed with the task allocator.
void freeItemList(PIDLIST_ABSOLUTE items) noexcept {
    CoTaskMemFree(items);
}
using ItemList = UniqueHandle<PIDLIST_ABSOLUTE, &freeItemList>;

struct BrowseContext {
    std::wstring title;
    const ItemList* initial = nullptr;
};

// The folder as the desktop folder parses it; none when it cannot (it has vanished, say).
void parseFolder(const std::wstring& folder, ItemList& items) {
    ComPtr<IShellFolder> desktop;
    if (folder.empty() || FAILED(SHGetDesktopFolder(desktop.put()))) return;
    std::wstring name = folder;
    ULONG eaten = 0;
    // The desktop folder's parsing hands out its result as a relative list; relative to the
    // desktop it is the absolute one.
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), &eaten,
                                         reinterpret_cast<PIDLIST_RELATIVE*>(items.put()),
                                         nullptr))) {
        items.reset();
    }
}

std::optional<std::wstring> pathOfItem(PCIDLIST_ABSOLUTE item) {
    if (!item) return std::nullopt;
    std::vector<wchar_t> path(kPathChars, L'\0');
    if (!SHGetPathFromIDListEx(item, path.data(), kPathChars, GPFIDL_DEFAULT) || !path[0])
        return std::nullopt;
    return std::wstring(path.data());
}

void showSelection(HWND dialog, const BrowserSelection& selection) {
    SetDlgItemTextW(dialog, kTitleLine, selection.shownPath.c_str());
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0,
                 reinterpret_cast<LPARAM>(selection.shownPath.c_str()));
    SendMessageW(dialog, BFFM_ENABLEOK, 0, selection.confirmable ? TRUE : FALSE);
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    const auto* context = reinterpret_cast<const BrowseContext*>(data);
    switch (message) {
        case BFFM_INITIALIZED:
            SetWindowTextW(dialog, context->title.c_str());
            if (context->initial && context->initial->get()) {
                SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE,
                             reinterpret_cast<LPARAM>(context->initial->get()));
            }
            SetDlgItemTextW(dialog, kTitleLine, context->title.c_str());
            break;
        case BFFM_SELCHANGED:
            // Called by the system's dialog: nothing may escape into it (the selection's texts
            // are the only allocations; without them the dialog keeps its last state).
            try {
                showSelection(dialog, browserSelection(
                                          pathOfItem(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam))));
            } catch (...) {
            }
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace

BrowserSelection browserSelection(const std::optional<std::wstring>& fileSystemPath) {
    if (!fileSystemPath || !hasDriveLetter(toUtf8(*fileSystemPath))) return {};
    return BrowserSelection{*fileSystemPath, true};
}

std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& initialFolder,
                                            const std::wstring& title) {
    ItemList initial;
    parseFolder(initialFolder, initial);
    BrowseContext context{title, &initial};

    std::vector<wchar_t> displayName(MAX_PATH, L'\0');
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = context.title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&context);

    ItemList chosen(SHBrowseForFolderW(&info));
    const auto path = pathOfItem(chosen.get());
    // The OK button is disabled for such a choice; a keyboard path around it is refused here.
    if (!browserSelection(path).confirmable) return std::nullopt;
    return path;
}

}  // namespace lumetra::win
