// Pictures of the screen as 32-bit pixels: the frozen screen the demo shows, the image cut out of
// it for a selection, and the step snapshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// Top-down rows of 0xAARRGGBB pixels (in memory B, G, R, A: what GDI and GDI+ read).
struct PixelImage {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<uint32_t> aPixels;
    // Where the top-left pixel was on the screen: negative on a monitor left of or above the
    // primary.
    int nLeft = 0;
    int nTop = 0;
};

// The rectangle of the screen the image was taken from.
RECT ImageRect(const PixelImage &image);

// The virtual screen (every monitor) in the calling thread's coordinates.
RECT VirtualScreenRect();

// The virtual screen (every monitor) as it is now, opaque; with bWithCursor the current cursor
// is drawn on it at its place, so that a snapshot shows what a person would see. Empty when it
// cannot be read.
PixelImage GrabScreen(bool bWithCursor);

// One monitor: its rectangle in physical pixels and the one a thread is told for it.
struct MonitorPlace {
    RECT rcPhysical;
    RECT rcSeen;
};

// The picture of the screen that a thread told rcSeen for the virtual screen sees: each monitor's
// physical pixels scaled onto the rectangle it has there, as the platform scales the screen for a
// program that is not per-monitor aware. The picture itself where no monitor is scaled; empty
// when the bitmaps cannot be made.
PixelImage SeenFromPhysical(const PixelImage &physical, const std::vector<MonitorPlace> &monitors,
                            RECT rcSeen);

// The shapes a selection is cut out in.
enum class CutShape { Rectangle, Ellipse, Polygon };

// The part of the frozen screen inside rc (screen pixels; right and bottom excluded), clipped to
// the frozen screen; the result keeps its place on the screen. Outside the ellipse inscribed in rc,
// or outside the polygon through the vertices, the pixels are fully transparent; the outline itself
// belongs to the inside, as drawn on the screen. Empty when rc lies off the screen.
PixelImage CutOut(const PixelImage &frozen, RECT rc, CutShape shape,
                  const std::vector<POINT> &vertices);

// Paints the image with its top-left corner at the context's origin.
void PaintImage(HDC hdc, const PixelImage &image);
