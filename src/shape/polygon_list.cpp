#include "shape/polygon_list.h"

#include "draw/xor_draw.h"
#include "shape/polygon_geometry.h"

namespace {

const int kVertexTolerance = 2;

} // namespace

UINT ValidPointCount(const SelectionShape &shape) {
    return shape.nCount > MAX_POLY_POINTS ? MAX_POLY_POINTS : shape.nCount;
}

int FindPolyVertex(const SelectionShape *pShape, POINT pt) {
    if (!pShape)
        return -1;
    const UINT nCount = ValidPointCount(*pShape);
    for (UINT i = 0; i < nCount; ++i) {
        if (IsNearPoint(pShape->aPoints[i], pt, kVertexTolerance))
            return int(i);
    }
    return -1;
}

void MovePolyVertex(SelectionShape *pShape, int x, int y, int nIndex) {
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
        XorVertexMarker(ptVertex);
        SPXXorPoint(&ptVertex);
        SPXXorLine(&ptPrev, &ptVertex);
        SPXXorLine(&ptVertex, &ptNext);
    };
    drawVertex();
    ptVertex.x = x;
    ptVertex.y = y;
    drawVertex();
}

void XorPolyline(SelectionShape *pShape) {
    if (!pShape)
        return;
    const UINT nCount = ValidPointCount(*pShape);
    if (nCount == 0)
        return;
    for (UINT i = 0; i + 1 < nCount; ++i) {
        SPXXorPoint(&pShape->aPoints[i]);
        SPXXorLine(&pShape->aPoints[i], &pShape->aPoints[i + 1]);
    }
    SPXXorPoint(&pShape->aPoints[nCount - 1]);
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
    if (!pShape || ValidPointCount(*pShape) == 0)
        return 0;
    XorPolyline(pShape);
    SPXXorLine(&pShape->aPoints[ValidPointCount(*pShape) - 1], &pShape->aPoints[0]);
    return 1;
}

extern "C" int WINAPI SPXErasePolyPoints(SelectionShape *pShape) {
    if (!pShape || ValidPointCount(*pShape) == 0)
        return 0;
    XorPolyline(pShape);
    return SPXXorLine(&pShape->aPoints[ValidPointCount(*pShape) - 1], &pShape->aPoints[0]);
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

    SPXXorPolyPoints(pDest);
    const UINT nCount = ValidPointCount(*pSource);
    for (UINT i = 0; i < nCount; ++i) {
        const POINT &ptSrc = pSource->aPoints[i];
        pDest->aPoints[i].x = MapCoordinate(ptSrc.x, nSrcLeft, nSrcRight, nDstLeft, nDstRight);
        pDest->aPoints[i].y = MapCoordinate(ptSrc.y, nSrcTop, nSrcBottom, nDstTop, nDstBottom);
    }
    return SPXXorPolyPoints(pDest);
}
