#include "live_size.h"

std::string LiveSizeText(WPARAM wParam, LPARAM lParam) {
    // Sign-extended: left of or above the primary monitor, coordinates are negative.
    const long nLeft = short(LOWORD(wParam)), nTop = short(HIWORD(wParam));
    const long nRight = short(LOWORD(lParam)), nBottom = short(HIWORD(lParam));
    // Only all four zero ends a selection: a band from the origin along an edge has some zeros.
    if (!nLeft && !nTop && !nRight && !nBottom)
        return {};
    return std::to_string(nRight - nLeft) + " x " + std::to_string(nBottom - nTop) + " at " +
           std::to_string(nLeft) + "," + std::to_string(nTop);
}
