#include "core/CommonControlsWin32.h"

#include "core/LateBoundWin32.h"

#include <windows.h>
#include <commctrl.h>

namespace wavora {

void ensureCommonControls() {
    static const bool loaded = [] {
        const auto init = lateBound<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
        INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF}; // all eight basic class groups
        return init && init(&icc);
    }();
    (void)loaded;
}

} // namespace wavora
