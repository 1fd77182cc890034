#include "selection/shape_settings.h"

#include "tracker/tracker_geometry.h"

#include <algorithm>

namespace {

const LONG kMaxRatio = 10000;
const LONG kMaxSize = 32767;
const SIZE kDefaultMinimum = {8, 8};

SelectionSettings start = {};
SIZE szRatio = {0, 0};
SIZE szFixed = {0, 0};
SIZE szMinimum = {0, 0};

// The last region of modes 3 and 4, and of mode 5.
RECT arcLast[2] = {};
bool abLast[2] = {};
POINT aLastVertices[MAX_POLY_POINTS] = {};
UINT nLastVertices = 0;

// A size whose sides are both 0 (none), or both within 1 to nMax.
bool IsSizeSetting(SIZE sz, LONG nMax) {
    return (sz.cx == 0 && sz.cy == 0) ||
           (sz.cx >= 1 && sz.cx <= nMax && sz.cy >= 1 && sz.cy <= nMax);
}

// The vertices' bounds (right and bottom the largest coordinates themselves).
RECT BoundsOf(const POINT *aPoints, UINT nCount) {
    RECT rc = {aPoints[0].x, aPoints[0].y, aPoints[0].x, aPoints[0].y};
    for (UINT i = 1; i < nCount; ++i) {
        rc.left = std::min(rc.left, aPoints[i].x);
        rc.top = std::min(rc.top, aPoints[i].y);
        rc.right = std::max(rc.right, aPoints[i].x);
        rc.bottom = std::max(rc.bottom, aPoints[i].y);
    }
    return rc;
}

// The vertices held within rcScreen (its last column and row included): SPX_SHAPE_SET, _CLIPPED,
// or _DROPPED when their bounds miss the screen (the vertices left as they were).
int ClipVerticesToScreen(POINT *aPoints, UINT nCount, const RECT &rcScreen) {
    RECT rcBounds = BoundsOf(aPoints, nCount);
    ++rcBounds.right;
    ++rcBounds.bottom;
    RECT rcCommon;
    if (!IntersectRect(&rcCommon, &rcBounds, &rcScreen))
        return SPX_SHAPE_DROPPED;
    int nResult = SPX_SHAPE_SET;
    for (UINT i = 0; i < nCount; ++i) {
        const POINT pt = {std::clamp(aPoints[i].x, rcScreen.left, rcScreen.right - 1),
                          std::clamp(aPoints[i].y, rcScreen.top, rcScreen.bottom - 1)};
        if (pt.x != aPoints[i].x || pt.y != aPoints[i].y)
            nResult = SPX_SHAPE_CLIPPED;
        aPoints[i] = pt;
    }
    return nResult;
}

// The region of settings within rcScreen, clipped in place: SPX_SHAPE_ as above.
int ClipRegion(SelectionSettings &region, const RECT &rcScreen) {
    if (region.nVertices)
        return ClipVerticesToScreen(region.aVertices, region.nVertices, rcScreen);
    return ClipRectToScreen(region.rcStart, rcScreen);
}

} // namespace

SIZE ShapeRatio() {
    return szRatio;
}

SIZE FixedSize() {
    return szFixed;
}

SIZE MinimumBoxSize() {
    return szMinimum.cx ? szMinimum : kDefaultMinimum;
}

int ClipRectToScreen(RECT &rc, const RECT &rcScreen) {
    const RECT rcWhole = NormalizedRect(rc);
    RECT rcCommon;
    if (!IntersectRect(&rcCommon, &rcWhole, &rcScreen))
        return SPX_SHAPE_DROPPED;
    rc = rcCommon;
    return EqualRect(&rcCommon, &rcWhole) ? SPX_SHAPE_SET : SPX_SHAPE_CLIPPED;
}

int CheckSelectionSettings(const SelectionSettings &settings, const RECT &rcScreen) {
    const DWORD fKnown =
        SPX_SET_START | SPX_SET_RATIO | SPX_SET_FIXED | SPX_SET_MINIMUM | SPX_SET_BOX;
    const DWORD fSet = settings.dwSet;
    if (settings.cbSize < sizeof(SelectionSettings) || (fSet & ~fKnown))
        return 0;
    if (((fSet & SPX_SET_RATIO) && !IsSizeSetting(settings.szRatio, kMaxRatio)) ||
        ((fSet & SPX_SET_MINIMUM) && !IsSizeSetting(settings.szMinimum, kMaxSize)) ||
        ((fSet & SPX_SET_FIXED) && (!IsSizeSetting(settings.szFixed, kMaxSize) ||
                                    settings.szFixed.cx > rcScreen.right - rcScreen.left ||
                                    settings.szFixed.cy > rcScreen.bottom - rcScreen.top)))
        return 0;
    const bool bRegion = (fSet & SPX_SET_START) && settings.dwStart == SPX_START_REGION;
    if ((fSet & SPX_SET_START) && settings.dwStart > SPX_START_LAST)
        return 0;
    const RECT rcGiven = NormalizedRect(settings.rcStart);
    if ((bRegion || (fSet & SPX_SET_BOX)) && settings.nVertices == 0 && IsRectEmpty(&rcGiven))
        return 0;
    if (bRegion && settings.nVertices != 0 &&
        (settings.nVertices < 3 || settings.nVertices > MAX_POLY_POINTS))
        return 0;
    if ((fSet & SPX_SET_BOX) && settings.nVertices != 0)
        return 0;
    int nResult = SPX_SHAPE_SET;
    SelectionSettings copy = settings;
    if (bRegion)
        nResult = std::max(nResult, ClipRegion(copy, rcScreen));
    if (fSet & SPX_SET_BOX) {
        RECT rc = settings.rcStart;
        nResult = std::max(nResult, ClipRectToScreen(rc, rcScreen));
    }
    return nResult;
}

void TakeSelectionSettings(const SelectionSettings &settings, const RECT &rcScreen) {
    const DWORD fSet = settings.dwSet;
    if (fSet & SPX_SET_RATIO)
        szRatio = settings.szRatio;
    if (fSet & SPX_SET_FIXED)
        szFixed = settings.szFixed;
    if (fSet & SPX_SET_MINIMUM)
        szMinimum = settings.szMinimum;
    if (!(fSet & SPX_SET_START))
        return;
    start = SelectionSettings();
    start.dwStart = settings.dwStart;
    if (settings.dwStart != SPX_START_REGION)
        return;
    start.rcStart = NormalizedRect(settings.rcStart);
    start.nVertices = settings.nVertices;
    std::copy(settings.aVertices, settings.aVertices + settings.nVertices, start.aVertices);
    if (ClipRegion(start, rcScreen) == SPX_SHAPE_DROPPED)
        start = SelectionSettings();
}

bool StartRegionFor(int nMode, const RECT &rcScreen, RECT &rc, SelectionShape *pShape) {
    SelectionSettings region = start;
    if (region.dwStart == SPX_START_LAST && !LastRegionOf(nMode, region))
        return false;
    if (region.dwStart == SPX_START_NONE || ClipRegion(region, rcScreen) == SPX_SHAPE_DROPPED)
        return false;
    if (nMode == MODE_POLYGON) {
        if (!region.nVertices || !pShape)
            return false;
        std::copy(region.aVertices, region.aVertices + region.nVertices, pShape->aPoints);
        pShape->nCount = region.nVertices;
        rc = BoundsOf(region.aVertices, region.nVertices);
        return true;
    }
    if (nMode != MODE_RECTANGLE && nMode != MODE_ELLIPSE)
        return false;
    if (region.nVertices) {
        rc = BoundsOf(region.aVertices, region.nVertices);
        ++rc.right;
        ++rc.bottom;
    } else {
        rc = region.rcStart;
    }
    return true;
}

void RememberCommittedRect(int nMode, const RECT &rc) {
    if (nMode != MODE_RECTANGLE && nMode != MODE_ELLIPSE)
        return;
    arcLast[nMode - MODE_RECTANGLE] = NormalizedRect(rc);
    abLast[nMode - MODE_RECTANGLE] = true;
}

void RememberCommittedPolygon(const SelectionShape &shape) {
    const UINT nCount = std::min(shape.nCount, UINT(MAX_POLY_POINTS));
    if (nCount < 3)
        return;
    std::copy(shape.aPoints, shape.aPoints + nCount, aLastVertices);
    nLastVertices = nCount;
}

bool LastRegionOf(int nMode, SelectionSettings &settings) {
    const UINT cbSize = settings.cbSize;
    if (nMode == MODE_POLYGON && nLastVertices) {
        settings = SelectionSettings();
        settings.nVertices = nLastVertices;
        std::copy(aLastVertices, aLastVertices + nLastVertices, settings.aVertices);
    } else if ((nMode == MODE_RECTANGLE || nMode == MODE_ELLIPSE) &&
               abLast[nMode - MODE_RECTANGLE]) {
        settings = SelectionSettings();
        settings.rcStart = arcLast[nMode - MODE_RECTANGLE];
    } else {
        return false;
    }
    settings.cbSize = cbSize;
    settings.dwStart = SPX_START_REGION;
    return true;
}
