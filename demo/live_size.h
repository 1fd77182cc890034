// The panel's line for the selection being made: its size and place, read from the library's
// live-rectangle message without any window or display.
#pragma once

#include <windows.h>

#include <string>

// "W x H at X,Y" for the rectangle in a live-rectangle message (wParam: left, top; lParam: right,
// bottom; signed 16-bit each); empty for the all-zero rectangle that ends a selection.
std::string LiveSizeText(WPARAM wParam, LPARAM lParam);
