#include "host/hook_state.h"

// The words a host's hooks work on, in a section of their own. Each process that loads the module
// has its own copy: the section is not shared, so no other process can change what the library
// does in the host.
#define SPX_SECTION __attribute__((section("Vantu_SP")))

HHOOK hMouseHook SPX_SECTION = nullptr;
HHOOK hKeyHook SPX_SECTION = nullptr;
HostRecord *pHostRecord SPX_SECTION = nullptr;
BOOL bButtonDown SPX_SECTION = 0;
BOOL bEllipse SPX_SECTION = 0;
BOOL bSelectionShown SPX_SECTION = 0;
BOOL bAdjustable SPX_SECTION = 0;
SnapixResizingBox *pResizingBox SPX_SECTION = nullptr;
HWND hwndOverlay SPX_SECTION = nullptr;

HWND hwndNotify = nullptr;
BOOL bMouseHookOn = 0;
HWND hwndEscapeTarget = nullptr;
BOOL bKeyHookOn = 0;
int nCursorShows = 0;
int nCursorState = CS_DEFAULT;
HCURSOR hCursorShown = nullptr;
POINT ptCursor = {0, 0};
RECT rcSelection = {0, 0, 0, 0};
POINT ptBoxAnchor = {0, 0};
POINT ptBoxCurrent = {0, 0};
SIZE szBox = {0, 0};
UINT fHeldKeys = 0;
POINT ptStreamPointer = {0, 0};
BOOL bNewPolygon = 1;
POINT ptFirstVertex = {0, 0};
POINT ptLastVertex = {0, 0};
RECT rcCloseZone = {0, 0, 0, 0};
BOOL bVertexMarked = 0;
int nMarkedVertex = 0;
BOOL bTracking = 0;
UINT nGestureButton = 0;
POINT ptGestureStart = {0, 0};
BOOL bSwallowUntilUp = 0;
UINT fDrawn = 0;
POINT ptRubberEnd = {0, 0};
DWORD dwSelectionOptions = 0;
BOOL bKeyHookFirst = 0;
UINT nMouseHookPath = 0;
UINT nKeyHookPath = 0;
HINSTANCE hResourceModule = nullptr;
