#include "shell/win/analyze_dialog.h"

#include <cstdio>

#include "analysis/analysis_grid_store.h"
#include "base/win/message_handler.h"
#include "base/win/text.h"
#include "base/win/utf16.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

std::wstring number(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return toUtf16(text);
}

class AnalyzeDialog final : public DialogHandler {
  public:
    AnalyzeDialog(const AnalysisGrid& grid, const std::wstring& soundName)
        : grid_(grid), soundName_(soundName) {}

    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            SetDlgItemTextW(dialog, IDC_ANALYZE_SOURCE, soundName_.c_str());
            SetDlgItemTextW(dialog, IDC_ANALYZE_LOW, number("%g", grid_.lowFrequency).c_str());
            SetDlgItemTextW(dialog, IDC_ANALYZE_HIGH, number("%g", grid_.highFrequency).c_str());
            SetDlgItemInt(dialog, IDC_ANALYZE_ROWS, UINT(grid_.rows), FALSE);
            SetDlgItemInt(dialog, IDC_ANALYZE_PPS, UINT(grid_.columnsPerSecond), FALSE);
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            std::string why;
            const auto read = readAnalysisGridFields(
                field(dialog, IDC_ANALYZE_LOW), field(dialog, IDC_ANALYZE_HIGH),
                field(dialog, IDC_ANALYZE_ROWS), field(dialog, IDC_ANALYZE_PPS), why);
            if (!read) {
                MessageBoxW(dialog, toUtf16(why).c_str(), L"Analyze Soundfile",
                            MB_OK | MB_ICONWARNING);
                return TRUE;
            }
            grid_ = *read;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

    const AnalysisGrid& grid() const { return grid_; }

  private:
    static std::string field(HWND dialog, int control) {
        return toUtf8(windowText(GetDlgItem(dialog, control)));
    }

    AnalysisGrid grid_;
    std::wstring soundName_;
};

}  // namespace

std::optional<AnalysisGrid> askForAnalysisGrid(HINSTANCE instance, HWND owner,
                                               const AnalysisGrid& grid,
                                               const std::wstring& soundName) {
    AnalyzeDialog dialog(grid, soundName);
    if (runModalDialog(instance, IDD_ANALYZE_SOUNDFILE, owner, dialog) != IDOK) return std::nullopt;
    return dialog.grid();
}

}  // namespace lumetra::win
