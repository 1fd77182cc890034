// What the hook tests share: the state words and the cursor, saved and put back around each test,
// the cursor display counter, and a striped overlay window to put a resizing box in.
#pragma once

#include "host/hook_state.h"
#include "input/hook_paths.h"
#include "tracker/resizing_box.h"

#include "screen_snapshot.h"

#include <gtest/gtest.h>

#include <memory>

// Every state word as it was when the object was made; all are put back when it goes.
class SavedHookState {
public:
    SavedHookState()
        : m_hMouseHook(hMouseHook), m_hKeyHook(hKeyHook), m_pHostRecord(pHostRecord),
          m_bButtonDown(bButtonDown), m_bEllipse(bEllipse), m_bSelectionShown(bSelectionShown),
          m_bAdjustable(bAdjustable), m_pResizingBox(pResizingBox), m_hwndOverlay(hwndOverlay),
          m_hwndNotify(hwndNotify), m_bMouseHookOn(bMouseHookOn),
          m_hwndEscapeTarget(hwndEscapeTarget), m_bKeyHookOn(bKeyHookOn),
          m_nCursorState(nCursorState), m_ptCursor(ptCursor), m_rcSelection(rcSelection),
          m_ptBoxAnchor(ptBoxAnchor), m_ptBoxCurrent(ptBoxCurrent), m_szBox(szBox),
          m_bNewPolygon(bNewPolygon), m_ptFirstVertex(ptFirstVertex), m_ptLastVertex(ptLastVertex),
          m_rcCloseZone(rcCloseZone), m_bVertexMarked(bVertexMarked),
          m_nMarkedVertex(nMarkedVertex), m_bTracking(bTracking),
          m_bSwallowUntilUp(bSwallowUntilUp), m_nGestureButton(nGestureButton),
          m_ptGestureStart(ptGestureStart), m_fDrawn(fDrawn),
          m_bKeyHookFirst(bKeyHookFirst), m_nMouseHookPath(nMouseHookPath),
          m_nKeyHookPath(nKeyHookPath), m_hMouseKeyHook(hMouseKeyHook),
          m_hResourceModule(hResourceModule) {}
    SavedHookState(const SavedHookState &) = delete;
    SavedHookState &operator=(const SavedHookState &) = delete;
    ~SavedHookState() {
        hMouseHook = m_hMouseHook;
        hKeyHook = m_hKeyHook;
        pHostRecord = m_pHostRecord;
        bButtonDown = m_bButtonDown;
        bEllipse = m_bEllipse;
        bSelectionShown = m_bSelectionShown;
        bAdjustable = m_bAdjustable;
        pResizingBox = m_pResizingBox;
        hwndOverlay = m_hwndOverlay;
        hwndNotify = m_hwndNotify;
        bMouseHookOn = m_bMouseHookOn;
        hwndEscapeTarget = m_hwndEscapeTarget;
        bKeyHookOn = m_bKeyHookOn;
        nCursorState = m_nCursorState;
        ptCursor = m_ptCursor;
        rcSelection = m_rcSelection;
        ptBoxAnchor = m_ptBoxAnchor;
        ptBoxCurrent = m_ptBoxCurrent;
        szBox = m_szBox;
        bNewPolygon = m_bNewPolygon;
        ptFirstVertex = m_ptFirstVertex;
        ptLastVertex = m_ptLastVertex;
        rcCloseZone = m_rcCloseZone;
        bVertexMarked = m_bVertexMarked;
        nMarkedVertex = m_nMarkedVertex;
        bTracking = m_bTracking;
        bSwallowUntilUp = m_bSwallowUntilUp;
        nGestureButton = m_nGestureButton;
        ptGestureStart = m_ptGestureStart;
        fDrawn = m_fDrawn;
        bKeyHookFirst = m_bKeyHookFirst;
        nMouseHookPath = m_nMouseHookPath;
        nKeyHookPath = m_nKeyHookPath;
        hMouseKeyHook = m_hMouseKeyHook;
        hResourceModule = m_hResourceModule;
    }

private:
    HHOOK m_hMouseHook;
    HHOOK m_hKeyHook;
    HostRecord *m_pHostRecord;
    BOOL m_bButtonDown;
    BOOL m_bEllipse;
    BOOL m_bSelectionShown;
    BOOL m_bAdjustable;
    SnapixResizingBox *m_pResizingBox;
    HWND m_hwndOverlay;
    HWND m_hwndNotify;
    BOOL m_bMouseHookOn;
    HWND m_hwndEscapeTarget;
    BOOL m_bKeyHookOn;
    int m_nCursorState;
    POINT m_ptCursor;
    RECT m_rcSelection;
    POINT m_ptBoxAnchor;
    POINT m_ptBoxCurrent;
    SIZE m_szBox;
    BOOL m_bNewPolygon;
    POINT m_ptFirstVertex;
    POINT m_ptLastVertex;
    RECT m_rcCloseZone;
    BOOL m_bVertexMarked;
    int m_nMarkedVertex;
    BOOL m_bTracking;
    BOOL m_bSwallowUntilUp;
    UINT m_nGestureButton;
    POINT m_ptGestureStart;
    UINT m_fDrawn;
    BOOL m_bKeyHookFirst;
    UINT m_nMouseHookPath;
    UINT m_nKeyHookPath;
    HHOOK m_hMouseKeyHook;
    HINSTANCE m_hResourceModule;
};

// The cursor display counter: 0 or more means the cursor shows. Reading it changes nothing.
inline int CursorDisplayCount() {
    const int n = ShowCursor(FALSE);
    ShowCursor(TRUE);
    return n + 1;
}

// The thread's cursor, the cursor position and the display counter as they were when the object
// was made; all are put back when it goes.
class SavedCursor {
public:
    SavedCursor() : m_hCursor(GetCursor()), m_pt(), m_nCount(CursorDisplayCount()) {
        GetCursorPos(&m_pt);
    }
    SavedCursor(const SavedCursor &) = delete;
    SavedCursor &operator=(const SavedCursor &) = delete;
    ~SavedCursor() {
        int n = CursorDisplayCount();
        while (n > m_nCount)
            n = ShowCursor(FALSE);
        while (n < m_nCount)
            n = ShowCursor(TRUE);
        SetCursorPos(m_pt.x, m_pt.y);
        SetCursor(m_hCursor);
    }

private:
    HCURSOR m_hCursor;
    POINT m_pt;
    int m_nCount;
};

// Cursors to compare against: the same shared handle comes back on every load.
inline HCURSOR LibraryCursor(int nId) {
    return LoadCursorA(hResourceModule, MAKEINTRESOURCEA(nId));
}
inline HCURSOR SystemCursor(LPCSTR pszId) {
    return LoadCursorA(nullptr, pszId);
}

// Where the overlay window stands on the screen, and the selection inside it; the selection is
// big enough for all eight handles.
const RECT kOverlayRect = {100, 100, 500, 420};
const RECT kSelection = {180, 170, 380, 330};

// Screen point (0, 0) in client coordinates of hwnd: what a screen point is shifted by.
inline POINT ClientOffset(HWND hwnd) {
    POINT pt = {0, 0};
    ScreenToClient(hwnd, &pt);
    return pt;
}

// Shows or hides the box's frame and handles on a client context of hwnd.
inline void ToggleBox(const SnapixResizingBox &box, HWND hwnd) {
    HDC hdc = GetDC(hwnd);
    box.DrawXor(hdc);
    ReleaseDC(hwnd, hdc);
}

// The state words saved, the cursor saved, a host record, and the overlay window with the
// selection in it; the library's cursors come from this program's own resources.
class HookTest : public testing::Test {
protected:
    HookTest() : m_overlay(kOverlayRect), m_pRecord(new HostRecord()) {}

    void SetUp() override {
        hResourceModule = GetModuleHandleA(nullptr);
        for (int nId :
             {IDC_DRAWCROSS, IDC_OUTSIDEBOX, IDC_INSIDEBOX, IDC_MOVEVERTEX, IDC_CLOSEPOLY})
            ASSERT_NE(LibraryCursor(nId), nullptr) << "cursor " << nId << " is not in the program";
        pHostRecord = m_pRecord.get();
        hwndOverlay = m_overlay.hwnd();
        pResizingBox = nullptr;
        bSelectionShown = 0;
        bAdjustable = 0;
        bEllipse = 0;
        rcSelection = kSelection;
        nCursorState = CS_DEFAULT;
        m_ptOffset = ClientOffset(m_overlay.hwnd());
    }

    // A box the test left in the slot goes; SetUp emptied the slot, so it is the test's.
    void TearDown() override {
        delete pResizingBox;
        pResizingBox = nullptr;
    }

    HostRecord &Record() { return *m_pRecord; }
    HWND Overlay() const { return m_overlay.hwnd(); }
    const POINT &Offset() const { return m_ptOffset; }

    // The screen point at the middle of handle nHandle of the box.
    POINT HandleCentre(const SnapixResizingBox &box, int nHandle) const {
        RECT rc;
        box.GetHandleRect(nHandle, &rc);
        return POINT{(rc.left + rc.right) / 2 - m_ptOffset.x,
                     (rc.top + rc.bottom) / 2 - m_ptOffset.y};
    }

private:
    // Declared first, so that they are put back last.
    SavedHookState m_state;
    SavedCursor m_cursor;
    PatternWindow m_overlay;
    std::unique_ptr<HostRecord> m_pRecord;
    POINT m_ptOffset = {0, 0};
};
