// PhysicalToHostRect and PhysicalToHostPoints: the library's physical pixels in the host's own
// coordinates.
#include "host/dpi_scope.h"
#include "spxhk110.h"

extern "C" int WINAPI PhysicalToHostRect(RECT *prc) {
    if (!prc)
        return 0;
    POINT ptTopLeft = {prc->left, prc->top};
    POINT ptBottomRight = {prc->right, prc->bottom};
    if (!PhysicalToHost(ptTopLeft, false) || !PhysicalToHost(ptBottomRight, true))
        return 0;
    *prc = RECT{ptTopLeft.x, ptTopLeft.y, ptBottomRight.x, ptBottomRight.y};
    return 1;
}

extern "C" int WINAPI PhysicalToHostPoints(POINT *apt, int nCount) {
    if (!apt || nCount < 0 || nCount > MAX_POLY_POINTS)
        return 0;
    // All or nothing: the points are written back only when every one was carried.
    POINT aCarried[MAX_POLY_POINTS];
    for (int i = 0; i < nCount; ++i) {
        aCarried[i] = apt[i];
        if (!PhysicalToHost(aCarried[i], false))
            return 0;
    }
    for (int i = 0; i < nCount; ++i)
        apt[i] = aCarried[i];
    return 1;
}
