// A closed polygon waiting in its resizing box: the vertex hover marker, and presses that drag a
// vertex, stretch the polygon by a handle, confirm it inside the box or discard it outside.
#pragma once

// Mouse move in polygon mode: while a closed polygon waits in its box and no button is down, a
// marker on the vertex under the cursor, at most one at a time; else the drawing's move.
void PolygonMove();

// Button press while the polygon waits in its box.
void PressOnShownPolygon();

// After a drag, a stretch or a nudge the host's shape carries the box's rectangle as its bounds.
void TakeBoundsFromSelection();
