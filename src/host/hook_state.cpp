#include "host/hook_state.h"

// One section, shared between every process that maps the module. The shared attribute only
// takes initialized data, hence the explicit zeros.
#define SPX_SHARED __attribute__((section("Vantu_SP"), shared))

HHOOK hMouseHook SPX_SHARED = nullptr;
HHOOK hKeyHook SPX_SHARED = nullptr;
HostRecord *pHostRecord SPX_SHARED = nullptr;
BOOL bButtonDown SPX_SHARED = 0;
BOOL bEllipse SPX_SHARED = 0;
BOOL bSelectionShown SPX_SHARED = 0;
BOOL bAdjustable SPX_SHARED = 0;
SnapixResizingBox *pResizingBox SPX_SHARED = nullptr;
HWND hwndOverlay SPX_SHARED = nullptr;
DWORD dwMouseHookProcess SPX_SHARED = 0;
DWORD dwKeyHookProcess SPX_SHARED = 0;

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
BOOL bKeyHookFirst = 0;
UINT nMouseHookPath = 0;
UINT nKeyHookPath = 0;
HHOOK hMouseKeyHook = nullptr;
HINSTANCE hResourceModule = nullptr;
