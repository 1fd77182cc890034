#include "shape/pick_geometry.h"

namespace {

LONGLONG Area(const RECT &rc) {
    return LONGLONG(rc.right - rc.left) * (rc.bottom - rc.top);
}

} // namespace

int ContainingLargestFirst(const RECT *arc, int n, POINT pt, int *aiOut) {
    int nOut = 0;
    for (int i = 0; i < n; ++i) {
        if (!PtInRect(&arc[i], pt))
            continue;
        // Inserted after every one at least as large: equal areas keep their order.
        int j = nOut;
        while (j > 0 && Area(arc[aiOut[j - 1]]) < Area(arc[i])) {
            aiOut[j] = aiOut[j - 1];
            --j;
        }
        aiOut[j] = i;
        ++nOut;
    }
    return nOut;
}

int DropRepeatedRects(RECT *arc, int n, bool *aKeep) {
    int nKept = 0;
    for (int i = 0; i < n; ++i) {
        const bool bKeep = nKept == 0 || !EqualRect(&arc[i], &arc[nKept - 1]);
        if (aKeep)
            aKeep[i] = bKeep;
        if (bKeep)
            arc[nKept++] = arc[i];
    }
    return nKept;
}

RECT ClippedToAll(const RECT &rc, const RECT *arcClip, int n) {
    RECT rcOut = rc;
    for (int i = 0; i < n; ++i)
        if (!IntersectRect(&rcOut, &rcOut, &arcClip[i]))
            return RECT{0, 0, 0, 0};
    if (IsRectEmpty(&rcOut))
        return RECT{0, 0, 0, 0};
    return rcOut;
}

int SteppedLevel(int nLevel, int nSteps, int nLevels) {
    if (nLevels <= 0)
        return 0;
    const long long n = (long long)nLevel + nSteps;
    return n < 0 ? 0 : n >= nLevels ? nLevels - 1 : int(n);
}
