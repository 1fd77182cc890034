/*
 * spxhk110.h - the host's contract with SPXHK110.dll.
 *
 * SPXHK110 lets a person mark a region of the screen with the mouse: a rubber-band rectangle or
 * ellipse, a polygon placed click by click, or the window under the cursor. All feedback is
 * XOR-drawn on the display. The host owns a HostRecord, turns the selection hook on with
 * SetMouseHook and hears of the result through window messages (UM_SELECTION, UM_ESCAPE).
 *
 * Every export uses the WINAPI (__stdcall) calling convention and an undecorated name. All
 * coordinates are screen pixels. Call everything from the thread that owns the host's windows.
 * Usable from C and C++; link with libSPXHK110.dll.a, or load the DLL and use GetProcAddress.
 */
#ifndef SPXHK110_H
#define SPXHK110_H

#include <stddef.h>
#include <windows.h>

#ifdef SPXHK110_BUILD
#define SPXHK110_API
#else
#define SPXHK110_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Selection modes, written by the host into HostRecord.shape.nMode before the hook is turned on.
 * MODE_WINDOW (and 1 and 6, which behave exactly like it): with bHighlightWindows the window under
 * the cursor is framed and reported as it changes; a click reports itself. MODE_CLICK (and 7 and
 * every other value): nothing is drawn; a click reports itself. A click is posted with the address
 * of the library's rectangle, which still holds the last rubber band's rectangle. */
#define MODE_WINDOW 0    /* pick a window: framed under the cursor with bHighlightWindows */
#define MODE_CLICK 2     /* no shape: a click is reported */
#define MODE_RECTANGLE 3 /* rubber-band rectangle */
#define MODE_ELLIPSE 4   /* rubber-band ellipse, inscribed in the dragged rectangle */
#define MODE_POLYGON 5   /* polygon placed vertex by vertex with button releases */

#define MAX_POLY_POINTS 50 /* capacity of SelectionShape.aPoints; nCount never exceeds it */

/* Posted to the notification window with wParam 0 and lParam the address of the selection (a
 * RECT for rectangles, ellipses and clicks; the host's SelectionShape for polygons). Sent
 * synchronously with wParam the new window under the cursor and lParam 0 in highlight modes. */
#define UM_SELECTION (WM_USER + 604) /* 1628 */
/* Posted with wParam 0 and lParam 0 to the window given to SetKeyboardHook on every Escape. */
#define UM_ESCAPE (WM_USER + 606) /* 1630 */

/* Cursor resources inside SPXHK110.dll (LoadCursorA with the DLL's module handle). */
#define IDC_DRAWCROSS 129  /* crosshair: drawing a new selection */
#define IDC_OUTSIDEBOX 137 /* arrow and triangle: outside the resizing box, a click discards */
#define IDC_INSIDEBOX 138  /* arrow and check mark: inside the resizing box, a click confirms */
#define IDC_MOVEVERTEX 141 /* arrow and move cross: over a polygon vertex, drag to reshape */
#define IDC_CLOSEPOLY 142  /* crosshair and check mark: the next click closes the polygon */

#ifndef RC_INVOKED

/* The records have the platform's natural alignment whatever packing the host compiles with. */
#pragma pack(push, 8)

/* The shape record inside HostRecord: the mode and the polygon. 432 bytes. */
typedef struct SelectionShape {
    int nMode;                      /* MODE_RECTANGLE, MODE_ELLIPSE, MODE_POLYGON or other */
    POINT aPoints[MAX_POLY_POINTS]; /* polygon vertices in the order clicked */
    UINT nCount;                    /* valid entries of aPoints, 0 to MAX_POLY_POINTS */
    POINT ptCorner; /* a polygon's left and bottom, written when it closes and after every change in
                       its box; a rectangle or ellipse leaves it alone (its rectangle is the one
                       UM_SELECTION points at) */
    RECT rcBounds;  /* a polygon's bounds (right and bottom are the largest coordinates
                       themselves), written with ptCorner */
} SelectionShape;

/* The host's record. The library uses only the named members; the reserved bytes between them
 * are the host's own. Keep it alive while the selection hook is on. */
typedef struct HostRecord {
    HWND hwndUnderCursor;   /* window last found under the cursor (highlight modes) */
    HWND hwndFramed;        /* window whose XOR frame is on the screen now */
    BYTE abHost1[572];      /* the host's own */
    SelectionShape shape;   /* mode (read) and the polygon and bounds (written) */
    BYTE abHost2[2224];     /* the host's own */
    BOOL bHighlightWindows; /* nonzero: frame and report the window under the cursor */
    BYTE abHost3[280];      /* the host's own */
    BOOL bAdjustable;       /* nonzero: show a finished selection in a resizing box */
    BYTE abHost4[1924];     /* the host's own */
    HCURSOR hSavedCursor;   /* written at SetMouseHook: the cursor current at that time */
    BOOL bPaused;           /* nonzero: presses, releases, keys and shape moves ignored */
    HWND hwndOwn;           /* host's panel: with every window inside it, a press discards */
} HostRecord;

#pragma pack(pop)

/* The byte positions above are binding, for each architecture (handles are 8 bytes in a 64-bit
 * build; the host's bytes between the members are the same); a build that breaks them fails
 * here. */
#if defined(__cplusplus)
#define SPXHK110_LAYOUT_CHECK(cond, what) static_assert(cond, #what)
#else
#define SPXHK110_LAYOUT_CHECK(cond, what) typedef char spxhk110_layout_##what[(cond) ? 1 : -1]
#endif
#ifdef _WIN64
#define SPXHK110_AT(x86, x64) (x64)
#else
#define SPXHK110_AT(x86, x64) (x86)
#endif
SPXHK110_LAYOUT_CHECK(sizeof(SelectionShape) == 432, shape_size);
SPXHK110_LAYOUT_CHECK(offsetof(SelectionShape, aPoints) == 4, shape_aPoints);
SPXHK110_LAYOUT_CHECK(offsetof(SelectionShape, nCount) == 404, shape_nCount);
SPXHK110_LAYOUT_CHECK(offsetof(SelectionShape, ptCorner) == 408, shape_ptCorner);
SPXHK110_LAYOUT_CHECK(offsetof(SelectionShape, rcBounds) == 416, shape_rcBounds);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, hwndFramed) == SPXHK110_AT(4, 8), host_hwndFramed);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, shape) == SPXHK110_AT(580, 588), host_shape);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, bHighlightWindows) == SPXHK110_AT(3236, 3244),
                      host_bHighlightWindows);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, bAdjustable) == SPXHK110_AT(3520, 3528),
                      host_bAdjustable);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, hSavedCursor) == SPXHK110_AT(5448, 5456),
                      host_hSavedCursor);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, bPaused) == SPXHK110_AT(5452, 5464), host_bPaused);
SPXHK110_LAYOUT_CHECK(offsetof(HostRecord, hwndOwn) == SPXHK110_AT(5456, 5472), host_hwndOwn);
SPXHK110_LAYOUT_CHECK(sizeof(HostRecord) == SPXHK110_AT(5460, 5480), host_size);
#undef SPXHK110_AT
#undef SPXHK110_LAYOUT_CHECK

/* The selection hook. Turning it on (bEnable nonzero) keeps pRecord, installs a journal-record
 * hook on this thread's desktop (where journal hooks are refused, low-level mouse and keyboard
 * hooks on a thread of the library's own, which only queues the events for this thread, so that
 * no program's input waits for this thread; SPXHK_HOOKS=journal or lowlevel in the environment
 * forces one), saves the
 * current cursor in pRecord->hSavedCursor and shows the cursor; with pRecord->bAdjustable set, a
 * non-empty *pInitialRect (else the starting region set with SetSelectionShape) is shown at the
 * first input event in a resizing box in hwndOverlay's client area. Turning it off erases
 * everything the library drew but the window-highlight frame, sets the arrow cursor and puts the
 * cursor display counter back. Returns 1 when turned on; when turned off, the platform's unhook
 * result; 0 when nothing changed (no record, already in that state, the platform refused, or
 * another host in this session, 32-bit or 64-bit, has the hook on: one host at a time, so that two
 * never draw the same band over each other). Turn it off before the record goes away; afterwards
 * the library never touches the record again. The library's state is this process's own: no other
 * process can change it. */
SPXHK110_API int WINAPI SetMouseHook(HWND hwndNotify, HostRecord *pRecord, BOOL bEnable,
                                     const RECT *pInitialRect, HWND hwndOverlay);
/* The Escape hook: while on, every Escape key press posts UM_ESCAPE to hwndEscapeTarget (each
 * call, on or off, replaces that window); a journal-record hook, or a low-level keyboard hook
 * where those are refused. The key itself still reaches the window with the focus. Returns 1
 * when turned on; the unhook result when turned off; 0 when it was already in that state, the
 * platform refused, or another host in this session, 32-bit or 64-bit, has it on. */
SPXHK110_API int WINAPI SetKeyboardHook(HWND hwndEscapeTarget, BOOL bEnable);
/* The live rectangle. While hwndTarget is set, uMsg is posted to it whenever the selection being
 * made or adjusted changes (the band, a handle drag, a vertex drag, an arrow-key nudge, a polygon
 * vertex placed), at most once per input event and once every 15 ms (a change that comes sooner
 * follows with the next input event after that, or on a timer of the thread), with the
 * rectangle in the message: wParam =
 * MAKEWPARAM(left, top), lParam = MAKELPARAM(right, bottom), each a signed 16-bit screen
 * coordinate (read them with GET_X_LPARAM and GET_Y_LPARAM), the rectangle as the commit will
 * carry it (for a polygon its bounds, as rcBounds); and once more with all four 0 when the
 * selection ends in any way (a target replaced mid-selection gets it when it is replaced).
 * Posted, never sent. A null hwndTarget turns it off; turning the selection hook off keeps the
 * setting. Returns the previous target, or NULL. */
SPXHK110_API HWND WINAPI SetTrackingNotify(HWND hwndTarget, UINT uMsg);

/* Options of the selection: bits of SetSelectionOptions, all off by default. */
/* While a polygon is placed, a line follows the pointer from its last vertex. */
#define SPX_OPT_POLYGON_RUBBER_EDGE 0x1u
/* Edges snap to what the person aims at: while a band is drawn, a handle dragged or a polygon
 * vertex placed, a moving edge (a vertex's coordinate) within 8 pixels at 96 DPI (scaled with the
 * DPI) of a target edge lands on it: the frames of the visible top-level windows, the controls of
 * the top-level window under the pointer, the monitors and their work areas. The overlay, the
 * panel, the other top-level windows of the thread that turned the hook on, and the desktop's own
 * windows (the wallpaper's "Progman" and "WorkerW") are looked through; any other window hides
 * the edges under it. */
#define SPX_OPT_SNAP_EDGES 0x2u
/* A loupe at the pointer: while a band is drawn (mouse or keyboard), a polygon vertex placed, a
 * handle or vertex of the box dragged or the pointer moves in the box, a window of the library's
 * own shows the screen pixels around the pointer's hot spot magnified (an integer zoom, 8 to
 * start: 17 by 17 pixels in 136 by 136 at 96 DPI), with a grid between them, the centre pixel
 * framed, and under them the pointer's place in screen pixels and the centre pixel's colour. It
 * stands 24 pixels (at 96 DPI) from the hot spot, on the pointer's monitor, off the selection
 * where it can be (beside a dragged handle, off the outline being dragged). It is topmost, never
 * active, transparent to the pointer and to every look-up of windows, and kept out of screen
 * capture where the platform can. The wheel changes the zoom (2 to 16, kept for the next
 * selections; on the low-level path only, as a journal record of the wheel has no direction) and
 * is passed on. It is gone before a selection is posted, on Escape, when the hook goes off and
 * when this option goes off. */
#define SPX_OPT_LOUPE 0x4u
/* In the window modes (0, 1, 6) with bHighlightWindows: pick what the person points at. The
 * target is the deepest visible thing under the pointer: a child window (control) or, inside a
 * window that serves UI Automation elements, the smallest element there with a rectangle on the
 * screen. The wheel away from the person and Page Up step out to what holds it (element, then
 * control, then the top-level window, then the monitor), the wheel towards the person and Page
 * Down back in along the same path (the wheel on the low-level path only, as a journal record of
 * it has no direction); moving onto another target starts from the deepest again. Windows that
 * are invisible or transparent to the pointer are looked through, as are the overlay and the
 * library's own. The frame shows the current target (the library draws and erases it itself:
 * hwndFramed stays NULL), UM_SELECTION is sent with the target's window whenever that changes,
 * and the live rectangle (SetTrackingNotify) follows the target. A click or Space picks it:
 * hwndUnderCursor is set to its window and UM_SELECTION posted with the library's rectangle, the
 * target's cut to what of it can show (its windows' client areas, its top-level window, the
 * screen); GetPickedTarget tells the rest. UI Automation is loaded only when such a selection
 * starts, on a thread of the library's own: the frame moves on to the control at once and to the
 * element when the answer comes, if the pointer has not moved on (the host's thread never waits;
 * a question unanswered after 500 ms holds up no later one, which goes to a fresh thread).
 * Without this option nothing new is loaded and the
 * window modes are as before. */
#define SPX_OPT_PICK_ELEMENTS 0x8u
/* With SPX_OPT_SNAP_EDGES: the other top-level windows of the host's thread (a read-out, a
 * toolbar) are targets too, and hide what lies under them. */
#define SPX_OPT_SNAP_HOST_WINDOWS 0x10u
/* Sets the options for every event from now on and returns those set before. Bits without a
 * meaning in this version are kept (and returned) but do nothing. The setting outlives turning
 * the hooks off and on; turning an option off takes off the screen what it drew. */
SPXHK110_API DWORD WINAPI SetSelectionOptions(DWORD dwOptions);
/* Changes only the options whose bits are set in dwMask, to their values in dwOptions, in one
 * step (no event sees a mix), and returns the options set before. */
SPXHK110_API DWORD WINAPI SetSelectionOptionsMasked(DWORD dwMask, DWORD dwOptions);

/* Regions with a shape in mind: where the next selections start, and the ratio, exact size or
 * minimum they keep. The host fills a SelectionSettings (cbSize = sizeof(SelectionSettings)) and
 * says in dwSet which of its settings the call changes; the others stay as they were. Each
 * setting lasts until it is changed again, across turning the hook off and on. */
#define SPX_SET_START 0x1u   /* dwStart, with rcStart or the vertices */
#define SPX_SET_RATIO 0x2u   /* szRatio */
#define SPX_SET_FIXED 0x4u   /* szFixed */
#define SPX_SET_MINIMUM 0x8u /* szMinimum */
#define SPX_SET_BOX 0x10u    /* rcStart: the box shown now moves or resizes to it, at once */

/* dwStart: where a selection starts when SetMouseHook turns the hook on (a non-empty
 * pInitialRect given there comes first). A starting region needs bAdjustable: it is shown in the
 * box at the first input event, as if the person had just drawn it. */
#define SPX_START_NONE 0 /* as usual: nothing shown */
#define SPX_START_REGION                                                                           \
    1                    /* modes 3, 4: rcStart (or the vertices' bounds); mode 5: the vertices    \
                          */
#define SPX_START_LAST 2 /* the last region committed in the mode, in this process */

/* What SetSelectionShape returns, besides 0 (refused: nothing changed). */
#define SPX_SHAPE_SET 1     /* every setting taken as given */
#define SPX_SHAPE_CLIPPED 2 /* a region or box lay partly outside the virtual screen: cut to it */
#define SPX_SHAPE_DROPPED                                                                          \
    3 /* a region or box lay wholly outside it: a starting region is                               \
         dropped (the selection starts as usual), a box stays where it is */

typedef struct SelectionSettings {
    UINT cbSize;    /* sizeof(SelectionSettings); a larger structure of a later version is taken */
    DWORD dwSet;    /* SPX_SET_ bits */
    DWORD dwStart;  /* SPX_START_ */
    RECT rcStart;   /* a rectangle's region, or the box's new place (right and bottom exclusive) */
    UINT nVertices; /* a polygon's region: 3 to MAX_POLY_POINTS vertices; 0 with a rectangle */
    POINT aVertices[MAX_POLY_POINTS];
    SIZE szRatio;   /* width to height kept, each 1 to 10000 (16:9, 4:3, 1:1); 0, 0: none */
    SIZE szFixed;   /* modes 3, 4: a box of exactly this size follows the pointer, centred on it,
                       and is placed by a click or Space; 0, 0: none */
    SIZE szMinimum; /* the smallest the box can be dragged to, each 1 to 32767; 0, 0: 8 by 8 */
} SelectionSettings;
/* 456 bytes in both architectures (every member 4 bytes wide), whatever packing the host uses. */
#if defined(__cplusplus)
static_assert(sizeof(SelectionSettings) == 456, "SelectionSettings is 456 bytes");
#else
typedef char spxhk110_layout_settings_size[(sizeof(SelectionSettings) == 456) ? 1 : -1];
#endif

/* Changes the settings dwSet names; returns SPX_SHAPE_SET, _CLIPPED or _DROPPED, or 0 and
 * changes nothing when pSettings is null, cbSize too small, dwSet holds an unknown bit, a value is
 * out of its range (a ratio or size with one side 0, a fixed size larger than the virtual screen,
 * an empty rectangle, a vertex count outside 3 to MAX_POLY_POINTS), or SPX_SET_BOX comes while no
 * box is shown. */
SPXHK110_API int WINAPI SetSelectionShape(const SelectionSettings *pSettings);
/* Fills *pSettings (its cbSize set) with the last region committed in nMode (3, 4 or 5) in this
 * process: dwStart SPX_START_REGION and rcStart (modes 3, 4) or the vertices (mode 5), so that the
 * host can keep it and give it back later with SPX_SET_START. Returns 1, or 0 when there is none
 * or the arguments are bad. */
SPXHK110_API int WINAPI GetLastSelection(int nMode, SelectionSettings *pSettings);

/* What the last pick of SPX_OPT_PICK_ELEMENTS took (dwKind): */
#define SPX_TARGET_NONE 0    /* no pick since the hook went on */
#define SPX_TARGET_ELEMENT 1 /* a UI Automation element inside a window */
#define SPX_TARGET_WINDOW 2  /* a control or a top-level window */
#define SPX_TARGET_MONITOR 3 /* a whole monitor */
typedef struct PickedTarget {
    UINT cbSize;       /* sizeof(PickedTarget); a larger structure of a later version is taken */
    DWORD dwKind;      /* SPX_TARGET_ */
    RECT rcTarget;     /* as posted: physical screen pixels, cut to what can show */
    HWND hwnd;         /* the control or window, the window that holds the element, or the
                          desktop window for a monitor */
    LONG nControlType; /* an element's UI Automation control type (UIA_ButtonControlTypeId
                          50000 and on); 0 when it has none, and for windows and monitors */
    WCHAR szName[256]; /* an element's name, a window's text; empty when there is none (cut to
                          255 characters) */
} PickedTarget;
/* 544 bytes for x86, 552 for x64, whatever packing the host uses. */
#if defined(__cplusplus)
static_assert(sizeof(PickedTarget) == (sizeof(void *) == 8 ? 552 : 544),
              "PickedTarget is 544 bytes (x86) or 552 (x64)");
#else
typedef char spxhk110_layout_picked_size[(sizeof(PickedTarget) == (sizeof(void *) == 8 ? 552 : 544))
                                             ? 1
                                             : -1];
#endif
/* Fills *pTarget (its cbSize set) with the last pick; call it when UM_SELECTION arrives. Returns
 * 1, or 0 for a null pointer or a cbSize too small (nothing written). A pick of nothing yet fills
 * dwKind SPX_TARGET_NONE and returns 1. */
SPXHK110_API int WINAPI GetPickedTarget(PickedTarget *pTarget);

/* The library works in physical screen pixels whatever DPI awareness the host declares: the
 * rectangles and vertices it posts, the initial rectangle and the arguments of the drawing
 * functions below. These two carry physical pixels into the coordinates of the calling thread
 * (those its own GetCursorPos and GetWindowRect use: the same for a per-monitor aware host, scaled
 * for an unaware or system-aware one on a scaled monitor). A screen grab is cropped with the posted
 * rectangle itself, taken per-monitor aware (see the guide). Each point goes by the
 * monitor it lies on. The rectangle keeps every pixel it touches: its left and top are rounded
 * down, its right and bottom up. Return 1, or 0 (nothing changed) for a null pointer or an nCount
 * outside 0 to MAX_POLY_POINTS. */
SPXHK110_API int WINAPI PhysicalToHostRect(RECT *prc);
SPXHK110_API int WINAPI PhysicalToHostPoints(POINT *apt, int nCount);

/* XOR drawing on the whole display. Drawing a figure again with the same arguments erases it.
 * Each returns the result of releasing its display context: 0 when nothing could be drawn. */

/* Outline of the rectangle (bEllipse 0) or the inscribed ellipse spanned by two corners, in
 * either order; a rectangle's outline lies on x1 and x2 - 1, y1 and y2 - 1. */
SPXHK110_API int WINAPI XorBox(int x1, int y1, int x2, int y2, int bEllipse);
/* Another name of XorBox. */
SPXHK110_API int WINAPI XorRectBox(int x1, int y1, int x2, int y2, int bEllipse);
/* Erases the box from the anchor to the old corner, then draws it from the anchor to the new. */
SPXHK110_API int WINAPI MoveXorBox(int xAnchor, int yAnchor, int xOld, int yOld, int xNew, int yNew,
                                   int bEllipse);
/* Line from *pptStart to *pptEnd (the end pixel itself is not drawn). */
SPXHK110_API int WINAPI SPXXorLine(const POINT *pptStart, const POINT *pptEnd);
/* Circle of radius 3 (at 96 DPI, scaled with the monitor's) around *ppt: a polygon vertex's
 * marker. */
SPXHK110_API int WINAPI SPXXorPoint(const POINT *ppt);
/* Frame, as thick as a dialog frame at the monitor's DPI, along the inside edge of the window's
 * physical screen rectangle.
 * Returns 0 and draws nothing when the window's rectangle cannot be read. */
SPXHK110_API int WINAPI SPXXORWindow(HWND hwnd);

/* Polygon point list. A null pointer does nothing and returns 0 (SPXAddPolyPoint returns the
 * shape pointer it was given); an nCount above MAX_POLY_POINTS is treated as MAX_POLY_POINTS. */

/* Appends *ppt unless the list is full; returns pShape. Draws nothing. */
SPXHK110_API SelectionShape *WINAPI SPXAddPolyPoint(SelectionShape *pShape, const POINT *ppt);
/* Empties the list: the valid entries become (0, 0) and nCount 0. Draws nothing. */
SPXHK110_API void WINAPI SPXFreePolyPoints(SelectionShape *pShape);
/* Draws the closed polygon (vertex markers and edges); 0 when the list is empty, else 1. */
SPXHK110_API int WINAPI SPXXorPolyPoints(SelectionShape *pShape);
/* Draws the same figure as SPXXorPolyPoints, which erases it; returns the closing edge's result,
 * 0 for an empty list. */
SPXHK110_API int WINAPI SPXErasePolyPoints(SelectionShape *pShape);
/* Bounds of the vertices; right and bottom are the largest coordinates themselves. */
SPXHK110_API void WINAPI SPXCalcPolygonRect(SelectionShape *pShape, RECT *prc);
/* Erases pDest's polygon, maps pSource's vertices linearly from the source rectangle onto the
 * destination rectangle into pDest (truncating toward zero), draws pDest again. pDest's nCount is
 * kept. A source side of zero length maps that axis by translation. 0 if pDest is empty. */
SPXHK110_API int WINAPI SPXStrechtPolyPoints(SelectionShape *pSource, SelectionShape *pDest,
                                             int nSrcLeft, int nSrcTop, int nSrcRight,
                                             int nSrcBottom, int nDstLeft, int nDstTop,
                                             int nDstRight, int nDstBottom);

#endif /* RC_INVOKED */

#ifdef __cplusplus
}
#endif

#endif /* SPXHK110_H */
