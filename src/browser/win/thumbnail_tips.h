#pragma once
// The image browser's tooltips: each thumbnail cell tells its file name. One tooltip control
// serves every tab's list; the text is asked for when it shows and follows the cell under the
// pointer.

#include <windows.h>

#include <string>

namespace lumetra::win {

class ThumbnailTips {
  public:
    ThumbnailTips() = default;
    ThumbnailTips(const ThumbnailTips&) = delete;
    ThumbnailTips& operator=(const ThumbnailTips&) = delete;

    // Makes the tooltip control, owned by the browser's dialog (and destroyed with it).
    void create(HWND dialog);
    // Gives a thumbnail list its tooltip.
    void addList(HWND list);
    // Answers the tooltip's request for its text; false for other notifications.
    bool notify(const NMHDR& header);

  private:
    static LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);

    HWND dialog_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND list_ = nullptr;  // the list and cell whose name shows
    int item_ = -1;
    std::wstring text_;
};

}  // namespace lumetra::win
