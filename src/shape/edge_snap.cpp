#include "shape/edge_snap.h"

namespace {

void Add(SnapEdge *aEdges, UINT &nCount, UINT nLimit, SnapEdge edge) {
    const UINT nMax = nLimit && nLimit < UINT(SnapEdges::kMax) ? nLimit : UINT(SnapEdges::kMax);
    if (nCount < nMax && edge.nFrom < edge.nTo)
        aEdges[nCount++] = edge;
}

// Takes the span nLow..nHigh (exclusive) away from the edges from nFirst on that lie at a
// coordinate within nAtLow..nAtHigh (inclusive); an edge split in two leaves its second part at
// the end.
void Hide(SnapEdge *aEdges, UINT &nCount, UINT nLimit, UINT nFirst, LONG nAtLow, LONG nAtHigh,
          LONG nLow, LONG nHigh) {
    const UINT nEnd = nCount;
    for (UINT i = nFirst; i < nEnd; ++i) {
        SnapEdge &edge = aEdges[i];
        if (edge.nAt < nAtLow || edge.nAt > nAtHigh || edge.nTo <= nLow || edge.nFrom >= nHigh)
            continue;
        const SnapEdge after = {edge.nAt, nHigh, edge.nTo};
        edge.nTo = nLow;
        if (after.nFrom < after.nTo)
            Add(aEdges, nCount, nLimit, after);
    }
    // Emptied edges go; the order of the rest is kept.
    UINT nKept = nFirst;
    for (UINT i = nFirst; i < nCount; ++i)
        if (aEdges[i].nFrom < aEdges[i].nTo)
            aEdges[nKept++] = aEdges[i];
    nCount = nKept;
}

LONG Snapped(const SnapEdge *aEdges, UINT nCount, LONG v, LONG w, LONG nReach) {
    LONG nBest = v;
    LONG nBestDistance = nReach + 1;
    for (UINT i = 0; i < nCount; ++i) {
        const SnapEdge &edge = aEdges[i];
        const LONG nDistance = edge.nAt > v ? edge.nAt - v : v - edge.nAt;
        if (nDistance < nBestDistance && w >= edge.nFrom - nReach && w < edge.nTo + nReach) {
            nBest = edge.nAt;
            nBestDistance = nDistance;
        }
    }
    return nBest;
}

} // namespace

void AddRectEdges(SnapEdges &edges, const RECT &rc) {
    Add(edges.aVertical, edges.nVertical, edges.nLimit, SnapEdge{rc.left, rc.top, rc.bottom});
    Add(edges.aVertical, edges.nVertical, edges.nLimit, SnapEdge{rc.right, rc.top, rc.bottom});
    Add(edges.aHorizontal, edges.nHorizontal, edges.nLimit, SnapEdge{rc.top, rc.left, rc.right});
    Add(edges.aHorizontal, edges.nHorizontal, edges.nLimit, SnapEdge{rc.bottom, rc.left, rc.right});
}

void HideEdgesUnder(SnapEdges &edges, UINT nFirstVertical, UINT nFirstHorizontal,
                    const RECT &rcCover) {
    if (rcCover.left >= rcCover.right || rcCover.top >= rcCover.bottom)
        return;
    Hide(edges.aVertical, edges.nVertical, edges.nLimit, nFirstVertical, rcCover.left,
         rcCover.right, rcCover.top, rcCover.bottom);
    Hide(edges.aHorizontal, edges.nHorizontal, edges.nLimit, nFirstHorizontal, rcCover.top,
         rcCover.bottom, rcCover.left, rcCover.right);
}

POINT SnappedPoint(const SnapEdges &edges, POINT pt, LONG nReach) {
    return POINT{Snapped(edges.aVertical, edges.nVertical, pt.x, pt.y, nReach),
                 Snapped(edges.aHorizontal, edges.nHorizontal, pt.y, pt.x, nReach)};
}
