// The gesture under way and what the library has on the screen: every way a gesture or a
// selection ends goes through here, so that what was drawn for it is erased exactly once.
#pragma once

#include "host/hook_state.h"

#include "spxhk110.h"

// The host's panel: hwndOwn and every window inside it.
bool IsPanelWindow(HWND hwnd);

// A press the library accepted begins a gesture; it belongs to that button until its release.
void BeginGesture(UINT nPress, POINT pt);
// The press of a gesture made with the keyboard: Space, with no button held. Its end is the next
// Space; no mouse release belongs to it.
const UINT GESTURE_SPACE = 0x10000 | VK_SPACE;
inline bool IsKeyboardGesture() {
    return nGestureButton == GESTURE_SPACE;
}
// True when nRelease is the release of the button that began the gesture under way.
bool IsGestureRelease(UINT nRelease);
// No gesture any more: no button down, nothing swallowed, its display context released. Erases
// nothing.
void EndGesture();

// Ends the gesture under way as if it had never been made: what it drew is erased, nothing is
// completed or posted.
void DiscardGesture();

// The XOR display context the gesture draws on, made at its first use and held until the gesture
// ends (none when the display cannot be had).
HDC GestureDC();
// The context held now, or none.
HDC HeldGestureDC();
void ReleaseGestureDC();

// Takes the line that follows the pointer from a polygon's last vertex off the screen.
void EraseRubberEdge();
// Takes off the screen what was drawn for the gesture itself: the band.
void EraseGestureDrawing();
// Takes the selection off the screen: a vertex's hover marker, the box's frame and the
// selection's own figure; the box is dropped and nothing counts as shown. A polygon keeps its
// points. Never while a track runs.
void EraseSelection(int nMode);
// Takes off the screen everything drawn for the selection being made and the one shown: the band,
// a polygon's open outline, then all that EraseSelection erases. The window-highlight frame stays
// (the host knows it as hwndFramed). Never while a track runs.
void EraseDrawn(int nMode);
