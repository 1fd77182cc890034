#include "selection/selection_reset.h"

#include "draw/gdi_guards.h"
#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "shape/polygon_list.h"
#include "tracker/resizing_box.h"

void ResetSelection(int nMode, SnapixResizingBox **ppBox, BOOL &bShown, SelectionShape *pShape) {
    if (bShown && bAdjustable) {
        if (!ppBox || !*ppBox)
            return;
        // The frame is erased before the box goes; without a context it stays until the overlay
        // window repaints.
        if (WindowDC dc = GetClientDC(hwndOverlay))
            (*ppBox)->DrawXor(dc.get(), dc.Origin());
        delete *ppBox;
        *ppBox = nullptr;
    }

    if (nMode == MODE_ELLIPSE) {
        if (bShown)
            XorBox(rcSelection.left, rcSelection.top, rcSelection.right, rcSelection.bottom,
                   bEllipse);
    } else if (nMode == MODE_POLYGON) {
        if (!pShape)
            return;
        if (bShown) {
            // A finished polygon keeps its points: a confirmed one is reported with them.
            SPXErasePolyPoints(pShape);
        } else {
            const UINT nCount = ValidPointCount(*pShape);
            if (nCount == 1)
                SPXXorPoint(&pShape->aPoints[0]);
            else if (nCount >= 2)
                XorPolyline(pShape);
            SPXFreePolyPoints(pShape);
        }
    }
    bShown = 0;
}
