// The screen in the host thread's own coordinates. A host that is not per-monitor aware is told
// a scaled screen on a scaled monitor: its own pictures and rectangles are in those coordinates,
// while the library's are physical pixels.
#pragma once

#include "screen_image.h"

// The virtual screen as the calling thread sees it now, opaque: grabbed in physical pixels and
// carried into the thread's coordinates monitor by monitor (the grab itself where they are the
// same). Empty when the screen cannot be read.
PixelImage GrabScreenAsSeen();

// The virtual screen's rectangle in physical pixels, whatever the calling thread is told.
RECT PhysicalScreenRect();
