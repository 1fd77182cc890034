// The library's global state: the shared words, visible to every process that loads the module,
// and the per-process words. The hook procedures are called with nothing but the event, so
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

// Shared words (section "Vantu_SP", shared, zero at load).
extern HHOOK hMouseHook;
extern HHOOK hKeyHook;
extern HostRecord *pHostRecord;
extern BOOL bButtonDown;
extern BOOL bEllipse;
extern BOOL bSelectionShown;
extern BOOL bAdjustable;
extern SnapixResizingBox *pResizingBox;
extern HWND hwndOverlay;
// The process that last turned each hook on: the shared words above belong to it while its hook
// is on, and no other process may change them meanwhile.
extern DWORD dwMouseHookProcess;
extern DWORD dwKeyHookProcess;

// Process words.
extern HWND hwndNotify;
extern BOOL bMouseHookOn;
extern HWND hwndEscapeTarget;
extern BOOL bKeyHookOn;
extern int nCursorState;
extern POINT ptCursor;
extern RECT rcSelection;
extern POINT ptBoxAnchor;
extern POINT ptBoxCurrent;
extern SIZE szBox;
extern BOOL bNewPolygon;
extern POINT ptFirstVertex;
extern POINT ptLastVertex;
extern RECT rcCloseZone;
extern BOOL bVertexMarked;
extern int nMarkedVertex;
extern BOOL bTracking;
extern BOOL bSwallowUntilUp;
extern HINSTANCE hResourceModule; // where the cursors are loaded from; set at load
