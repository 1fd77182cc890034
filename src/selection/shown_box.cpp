#include "selection/shown_box.h"

#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/live_rect.h"
#include "selection/shape_settings.h"
#include "selection/snap_targets.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"

namespace {

DragInput *pDragSource = nullptr;

// A drag's input comes from the source while it takes input; its held keys are the selection's
// on both paths, since every event of a drag goes to the selection first.
class BoxDragInput final : public DragInput {
public:
    bool TakesInput() const override { return pDragSource && pDragSource->TakesInput(); }
    int Next(HWND hwnd, MSG &msg) override {
        return pDragSource ? pDragSource->Next(hwnd, msg) : DRAG_INPUT_NONE;
    }
    UINT HeldKeys() const override { return fHeldKeys & (MOD_SHIFT | MOD_CONTROL); }
};

BoxDragInput boxDragInput;

} // namespace

void SetBoxDragSource(DragInput *pSource) {
    pDragSource = pSource;
}

bool ShowResizingBox() {
    if (!hwndOverlay || !IsWindow(hwndOverlay))
        return false;
    WindowDC dc = GetClientDC(hwndOverlay);
    if (!dc)
        return false;
    POINT ptOffset = {0, 0};
    ScreenToClient(hwndOverlay, &ptOffset);
    pResizingBox = NewResizingBox(&rcSelection, ptOffset.x, ptOffset.y, &pHostRecord->shape);
    if (!pResizingBox)
        return false;
    pResizingBox->SetDragInput(&boxDragInput);
    pResizingBox->SetOutlineListener(LiveRectListener());
    pResizingBox->SetEdgeSnapper(BoxEdgeSnapper());
    ApplyBoxRules();
    pResizingBox->DrawXor(dc.get(), dc.Origin());
    RaiseOwnWindow();
    return true;
}

void ShowInitialSelection(int nMode) {
    if (!bSelectionShown || pResizingBox || !bAdjustable || !hwndOverlay || !IsWindow(hwndOverlay))
        return;
    if (!ShowResizingBox())
        return;
    if (nMode == MODE_ELLIPSE)
        XorBox(rcSelection.left, rcSelection.top, rcSelection.right, rcSelection.bottom, bEllipse);
    else if (nMode == MODE_POLYGON)
        SPXXorPolyPoints(&pHostRecord->shape);
}

void ApplyBoxRules() {
    if (!pResizingBox)
        return;
    pResizingBox->m_szRatio = ShapeRatio();
    pResizingBox->m_sizeMin = MinimumBoxSize();
}

void ToggleBoxFrame() {
    if (pResizingBox)
        if (WindowDC dc = GetClientDC(hwndOverlay))
            pResizingBox->DrawXor(dc.get(), dc.Origin());
}

void RaiseOwnWindow() {
    // Raised, not activated: the keyboard stays where the user has it, so that Enter and Escape
    // still reach the selection.
    if (pHostRecord->hwndOwn)
        SetWindowPos(pHostRecord->hwndOwn, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
