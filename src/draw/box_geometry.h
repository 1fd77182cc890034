// Arithmetic on box corners; needs no display.
#pragma once

#include <windows.h>

// Orders two corners axis by axis: afterwards the first holds the smaller x and y.
void NormalizeCorners(POINT &ptFirst, POINT &ptSecond);
