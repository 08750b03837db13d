#include "render/win/play_state_display.h"

#include <commctrl.h>

#include <string>

#include "base/win/utf16.h"
#include "render/playback_ring.h"
#include "resources/resource_ids.h"

namespace lumetra::win {

void showPlayState(HMENU menu, HWND toolbar, bool playing) {
    if (menu) {
        const UINT from = playing ? IDM_PLAY : IDM_STOP_PLAYBACK;
        const UINT to = playing ? IDM_STOP_PLAYBACK : IDM_PLAY;
        const std::wstring text = toUtf16(playing ? kStopMenuText : kPlayMenuText);
        // Nothing to do when the item has been swapped already (a stop after a failed start).
        ModifyMenuW(menu, from, MF_BYCOMMAND | MF_STRING, to, text.c_str());
    }
    if (toolbar)
        SendMessageW(toolbar, TB_CHECKBUTTON, IDM_PLAY, MAKELPARAM(playing ? TRUE : FALSE, 0));
}

}  // namespace lumetra::win
