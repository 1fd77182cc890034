// The window modes: the window under the cursor is framed and reported as the cursor moves.
#pragma once

#include <windows.h>

// Mouse move: frames the window under the cursor and sends its handle to the host, once per
// change of window.
void HighlightWindowUnderCursor();
