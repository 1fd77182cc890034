// SetSelectionShape and GetLastSelection: where the selections start and what shape they keep.
#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/box_adjust.h"
#include "selection/shape_settings.h"
#include "selection/shown_box.h"

extern "C" int WINAPI SetSelectionShape(const SelectionSettings *pSettings) {
    if (!pSettings)
        return 0;
    const RECT rcScreen = VirtualScreenRect();
    const int nResult = CheckSelectionSettings(*pSettings, rcScreen);
    const bool bBox = (pSettings->dwSet & SPX_SET_BOX) != 0;
    if (!nResult || (bBox && !BoxShown()))
        return 0;
    TakeSelectionSettings(*pSettings, rcScreen);
    RECT rcBox = pSettings->rcStart;
    if (bBox && ClipRectToScreen(rcBox, rcScreen) != SPX_SHAPE_DROPPED)
        MoveShownBox(rcBox);
    ApplyBoxRules();
    return nResult;
}

extern "C" int WINAPI GetLastSelection(int nMode, SelectionSettings *pSettings) {
    if (!pSettings || pSettings->cbSize < sizeof(SelectionSettings))
        return 0;
    return LastRegionOf(nMode, *pSettings) ? 1 : 0;
}
