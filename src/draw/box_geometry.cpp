#include "draw/box_geometry.h"

#include <utility>

void NormalizeCorners(POINT &ptFirst, POINT &ptSecond) {
    if (ptFirst.x > ptSecond.x)
        std::swap(ptFirst.x, ptSecond.x);
    if (ptFirst.y > ptSecond.y)
        std::swap(ptFirst.y, ptSecond.y);
}
