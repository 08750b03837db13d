// The Options menu's switches and folder commands, and the About box.

#include "base/win/folder_browser.h"
#include "base/win/message_handler.h"
#include "base/win/text.h"
#include "base/win/tool_window.h"
#include "base/win/utf16.h"
#include "shell/folder_choice.h"
#include "shell/win/commands.h"
#include "shell/win/program.h"

namespace lumetra::win {
namespace {

std::int32_t* optionOf(ShellOptions& options, int id) {
    switch (id) {
        case IDM_ATTACH_RENDER_INFO:
            return &options.attachRenderInfo;
        case IDM_SAVE_SOUND_EVERY_RENDER:
            return &options.soundfile.saveSoundEveryRender;
        case IDM_SOUNDFILE_NAMED_AFTER_IMAGE:
            return &options.soundfile.soundfileNamedAfterImage;
        case IDM_NUMBER_SOUNDFILES:
            return &options.soundfile.numberSoundfiles;
        default:
            return nullptr;
    }
}

class AboutDialog final : public DialogHandler {
  public:
    AboutDialog(HINSTANCE instance, HWND mainWindow) : instance_(instance), main_(mainWindow) {}

    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            SetDlgItemTextW(dialog, IDC_ABOUT_TEXT, loadString(instance_, IDS_ABOUT_TEXT).c_str());
            centreOverMainWindow(dialog);
            setBold(dialog, IDC_ABOUT_SUBTITLE);
            ShowWindow(GetDlgItem(dialog, IDC_ABOUT_SUBTITLE), SW_SHOW);
            return TRUE;
        }
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        if (message == WM_CLOSE) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

  private:
    void centreOverMainWindow(HWND dialog) const {
        RECT main{}, mine{};
        GetWindowRect(main_, &main);
        GetWindowRect(dialog, &mine);
        int x = (main.left + main.right - (mine.right - mine.left)) / 2;
        int y = (main.top + main.bottom - (mine.bottom - mine.top)) / 2;
        SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    void setBold(HWND dialog, int control) {
        bold_ = makeBoldFont(dialog);
        SendDlgItemMessageW(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()),
                            TRUE);
    }

    HINSTANCE instance_;
    HWND main_;
    UniqueFont bold_;
};

}  // namespace

void optionSwitchCommand(Program& program, int id) {
    if (std::int32_t* option = optionOf(program.settings.shell, id)) *option = *option ? 0 : 1;
}

void folderCommand(Program& program, int id) {
    const auto target = lumetra::folderCommand(id);
    if (!target) return;
    ProgramFolders& folders = program.settings.folders;
    const std::filesystem::path current = folders.*(target->folder);
    std::optional<std::wstring> chosen;
    {
        ModalScope modal(program.tools);
        chosen = browseForFolder(program.mainWindow, current.wstring(),
                                 toUtf16(std::string(target->title)));
    }
    if (!chosen) return;
    const auto status = applyFolderChoice(id, folders, toUtf8(*chosen));
    if (!status) return;
    program.ui.setStatus(0, toUtf16(*status));
    if (id == IDM_SET_FILTER_FOLDER && program.tools.browser) program.tools.browser->rescanRoot();
}

void aboutCommand(Program& program, int) {
    AboutDialog dialog(program.instance, program.mainWindow);
    ModalScope modal(program.tools);
    runModalDialog(program.instance, IDD_ABOUT, program.mainWindow, dialog);
}

}  // namespace lumetra::win
