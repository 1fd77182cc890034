// Edges a selection snaps to, and snapping a point to them; needs no display.
#pragma once

#include <windows.h>

// A vertical edge at nAt from nFrom to nTo (y), or a horizontal one at nAt from nFrom to nTo (x);
// nTo exclusive.
struct SnapEdge {
    LONG nAt;
    LONG nFrom;
    LONG nTo;
};

// A fixed number of edges of each direction: a desktop's windows, a window's controls and the
// monitors; edges beyond nLimit (0: kMax) are not taken, so that edges added later can keep the
// room above it.
struct SnapEdges {
    enum { kMax = 1024 };
    UINT nVertical;
    UINT nHorizontal;
    UINT nLimit;
    SnapEdge aVertical[kMax];
    SnapEdge aHorizontal[kMax];
};

// Adds the four edges of rc (right and bottom as the rectangle has them, exclusive).
void AddRectEdges(SnapEdges &edges, const RECT &rc);
// Takes from the edges added since nFirstVertical and nFirstHorizontal the parts that rcCover
// covers (its own edges included): a window above hides what lies under it.
void HideEdgesUnder(SnapEdges &edges, UINT nFirstVertical, UINT nFirstHorizontal,
                    const RECT &rcCover);
// pt with each coordinate moved onto the nearest edge within nReach pixels whose extent, widened
// by nReach, holds the other coordinate; a coordinate with no edge in reach stays. Of two edges
// equally near, the first added wins.
POINT SnappedPoint(const SnapEdges &edges, POINT pt, LONG nReach);
