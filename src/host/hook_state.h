// The library's global state: the words of the section Vantu_SP and the other words, all of
// them the host process's own. The hook procedures are called with nothing but the event, so
// everything they remember between events lives here, under these names.
#pragma once

#include "spxhk110.h"

class SnapixResizingBox;

// Cursor states: what the next click does, and so which cursor shows.
enum {
    CS_INSIDE = 1,  // inside the resizing box: a click confirms
    CS_OUTSIDE = 2, // outside the box: a click discards
    CS_VERTEX = 3,  // over a polygon vertex: a drag reshapes
    CS_CLOSE = 4,   // near the first vertex: the next click closes the polygon
    CS_HANDLE = 5,  // over a box handle: a drag resizes
    CS_DEFAULT = 6  // as a request, "work it out"; as a result with a box up, no cursor of its own
};

// The section's words (section "Vantu_SP", not shared, zero at load).
extern HHOOK hMouseHook;
extern HHOOK hKeyHook;
extern HostRecord *pHostRecord;
extern BOOL bButtonDown;
extern BOOL bEllipse;
extern BOOL bSelectionShown;
extern BOOL bAdjustable;
extern SnapixResizingBox *pResizingBox;
extern HWND hwndOverlay;

// The other words.
extern HWND hwndNotify;
extern BOOL bMouseHookOn;
extern HWND hwndEscapeTarget;
extern BOOL bKeyHookOn;
extern int
    nCursorShows; // ShowCursor(TRUE) calls made when the hook went on, undone when it goes off
extern int nCursorState;
extern HCURSOR hCursorShown; // the cursor the library set last; none when something else may show
extern POINT ptCursor;
extern RECT rcSelection;
extern POINT ptBoxAnchor;
extern POINT ptBoxCurrent;
extern SIZE szBox;
// The keys held as of the event being dispatched (bits of InputEvent::fHeld).
extern UINT fHeldKeys;
// Where the last mouse event of the stream happened, or the pointer was put by an arrow key: the
// place of a key event on the low-level path.
extern POINT ptStreamPointer;
extern BOOL bNewPolygon;
extern POINT ptFirstVertex;
extern POINT ptLastVertex;
extern RECT rcCloseZone;
extern BOOL bVertexMarked;
extern int nMarkedVertex;
extern BOOL bTracking;

// The gesture under way: it begins with a press the library accepts (not on the host's panel,
// not paused) and belongs to that button until its release. bButtonDown is set for as long as
// it lasts.
extern UINT nGestureButton;  // the press that began it, WM_LBUTTONDOWN or WM_RBUTTONDOWN; 0: none
extern POINT ptGestureStart; // where it began
extern BOOL bSwallowUntilUp; // its release, and its moves, are not acted on

// What is on the screen for the selection being made, besides a shown selection's box and figure
// (bSelectionShown, pResizingBox) and the hover marker (bVertexMarked): bits of fDrawn.
enum {
    DRAWN_BAND = 1, // the rubber band from ptBoxAnchor to ptBoxCurrent
    DRAWN_OUTLINE =
        2, // the open outline of the polygon being drawn: the whole list, no closing edge
    DRAWN_RUBBER_EDGE = 4, // the line from the polygon's last vertex to ptRubberEnd
    DRAWN_TARGET = 8       // the frame of a window mode's target (SPX_OPT_PICK_ELEMENTS)
};
extern UINT fDrawn;
extern POINT ptRubberEnd;

// SPX_OPT_ bits, as SetSelectionOptions set them.
extern DWORD dwSelectionOptions;

// How each hook was installed (HOOK_JOURNAL or HOOK_LOWLEVEL, 0 when off). Journal-record hooks:
// the platform calls them with the event record on the host's thread as the thread takes its input.
// Low-level hooks, where journal hooks are refused: a thread of the library's own holds them and
// queues what they see.
enum { HOOK_JOURNAL = 1, HOOK_LOWLEVEL = 2 };
extern UINT nMouseHookPath;
extern UINT nKeyHookPath;

// The Escape hook was installed after the selection hook, so the platform calls it first and the
// selection hook never sees the Escape key-downs it swallows: it hands them over itself.
extern BOOL bKeyHookFirst;
extern HINSTANCE hResourceModule; // where the cursors are loaded from; set at load
