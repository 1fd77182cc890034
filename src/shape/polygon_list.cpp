#include "shape/polygon_list.h"

#include "draw/xor_draw.h"
#include "host/dpi_scope.h"
#include "shape/polygon_geometry.h"

namespace {

const int kVertexTolerance = 2; // at 96 DPI

} // namespace

UINT ValidPointCount(const SelectionShape &shape) {
    return shape.nCount > MAX_POLY_POINTS ? MAX_POLY_POINTS : shape.nCount;
}

int FindPolyVertex(const SelectionShape *pShape, POINT pt) {
    if (!pShape)
        return -1;
    const UINT nCount = ValidPointCount(*pShape);
    const int nTolerance = ScaledForDpi(kVertexTolerance, DpiAt(pt));
    for (UINT i = 0; i < nCount; ++i) {
        if (IsNearPoint(pShape->aPoints[i], pt, nTolerance))
            return int(i);
    }
    return -1;
}

void MovePolyVertex(HDC hdc, SelectionShape *pShape, int x, int y, int nIndex) {
    if (!pShape)
        return;
    const UINT nCount = ValidPointCount(*pShape);
    if (nIndex < 0 || UINT(nIndex) >= nCount)
        return;
    const POINT &ptPrev = pShape->aPoints[(nCount + nIndex - 1) % nCount];
    const POINT &ptNext = pShape->aPoints[(nIndex + 1) % nCount];
    POINT &ptVertex = pShape->aPoints[nIndex];

    // The same four figures, in the same order, are erased at the old place and drawn at the new.
    auto drawVertex = [&] {
        if (!hdc)
            return;
        XorVertexMarkerOn(hdc, ptVertex);
        XorPointOn(hdc, ptVertex);
        XorLineOn(hdc, ptPrev, ptVertex);
        XorLineOn(hdc, ptVertex, ptNext);
    };
    drawVertex();
    ptVertex.x = x;
    ptVertex.y = y;
    drawVertex();
}

void XorPolygonOn(HDC hdc, const SelectionShape &shape, bool bClosed) {
    const UINT nCount = ValidPointCount(shape);
    if (nCount == 0)
        return;
    for (UINT i = 0; i + 1 < nCount; ++i) {
        XorPointOn(hdc, shape.aPoints[i]);
        XorLineOn(hdc, shape.aPoints[i], shape.aPoints[i + 1]);
    }
    XorPointOn(hdc, shape.aPoints[nCount - 1]);
    if (bClosed)
        XorLineOn(hdc, shape.aPoints[nCount - 1], shape.aPoints[0]);
}

void XorPolyline(SelectionShape *pShape) {
    if (!pShape || ValidPointCount(*pShape) == 0)
        return;
    if (ScreenDC dc = CreateXorDisplayDC())
        XorPolygonOn(dc.get(), *pShape, false);
}

void StretchPolygonOn(HDC hdc, const SelectionShape &source, SelectionShape &dest,
                      const RECT &rcSource, const RECT &rcDest) {
    if (hdc)
        XorPolygonOn(hdc, dest, true);
    const UINT nCount = ValidPointCount(source);
    for (UINT i = 0; i < nCount; ++i) {
        const POINT &ptSrc = source.aPoints[i];
        dest.aPoints[i].x =
            MapCoordinate(ptSrc.x, rcSource.left, rcSource.right, rcDest.left, rcDest.right);
        dest.aPoints[i].y =
            MapCoordinate(ptSrc.y, rcSource.top, rcSource.bottom, rcDest.top, rcDest.bottom);
    }
    if (hdc)
        XorPolygonOn(hdc, dest, true);
}

extern "C" SelectionShape *WINAPI SPXAddPolyPoint(SelectionShape *pShape, const POINT *ppt) {
    if (!pShape || !ppt || pShape->nCount >= MAX_POLY_POINTS)
        return pShape;
    pShape->aPoints[pShape->nCount] = *ppt;
    ++pShape->nCount;
    return pShape;
}

extern "C" void WINAPI SPXFreePolyPoints(SelectionShape *pShape) {
    if (!pShape)
        return;
    const UINT nCount = ValidPointCount(*pShape);
    for (UINT i = 0; i < nCount; ++i)
        pShape->aPoints[i] = POINT{0, 0};
    pShape->nCount = 0;
}

extern "C" int WINAPI SPXXorPolyPoints(SelectionShape *pShape) {
    PhysicalPixels physicalPixels;
    if (!pShape || ValidPointCount(*pShape) == 0)
        return 0;
    if (ScreenDC dc = CreateXorDisplayDC())
        XorPolygonOn(dc.get(), *pShape, true);
    return 1;
}

extern "C" int WINAPI SPXErasePolyPoints(SelectionShape *pShape) {
    PhysicalPixels physicalPixels;
    if (!pShape || ValidPointCount(*pShape) == 0)
        return 0;
    ScreenDC dc = CreateXorDisplayDC();
    if (!dc)
        return 0;
    XorPolygonOn(dc.get(), *pShape, true);
    return dc.Release();
}

extern "C" void WINAPI SPXCalcPolygonRect(SelectionShape *pShape, RECT *prc) {
    if (!pShape || !prc)
        return;
    *prc = PolygonBounds(pShape->aPoints, ValidPointCount(*pShape));
}

extern "C" int WINAPI SPXStrechtPolyPoints(SelectionShape *pSource, SelectionShape *pDest,
                                           int nSrcLeft, int nSrcTop, int nSrcRight, int nSrcBottom,
                                           int nDstLeft, int nDstTop, int nDstRight,
                                           int nDstBottom) {
    if (!pSource || !pDest)
        return 0;
    // Without a context nothing is drawn, but the vertices are mapped all the same.
    ScreenDC dc = CreateXorDisplayDC();
    StretchPolygonOn(dc.get(), *pSource, *pDest, RECT{nSrcLeft, nSrcTop, nSrcRight, nSrcBottom},
                     RECT{nDstLeft, nDstTop, nDstRight, nDstBottom});
    return ValidPointCount(*pDest) ? 1 : 0;
}
