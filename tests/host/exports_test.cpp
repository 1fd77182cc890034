// The DLL as a host sees it: loaded by name, called through the public header and the import
// library, and nothing of the library's inside in reach.
#include "spxhk110.h"

#include "header_c_check.h"
#include "screen_snapshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

const char *const kExportNames[] = {
    "XorBox",
    "XorRectBox",
    "MoveXorBox",
    "SPXXorLine",
    "SPXXorPoint",
    "SPXXORWindow",
    "SPXAddPolyPoint",
    "SPXFreePolyPoints",
    "SPXXorPolyPoints",
    "SPXErasePolyPoints",
    "SPXCalcPolygonRect",
    "SPXStrechtPolyPoints",
    "SetMouseHook",
    "SetKeyboardHook",
    "SetTrackingNotify",
    "SetSelectionOptions",
    "SetSelectionOptionsMasked",
    "SetSelectionShape",
    "GetLastSelection",
    "PhysicalToHostRect",
    "PhysicalToHostPoints",
    "GetPickedTarget",
};

class LoadedLibrary : public testing::Test {
protected:
    void SetUp() override {
        m_hDll = LoadLibraryA("SPXHK110.dll");
        ASSERT_NE(m_hDll, nullptr) << "LoadLibraryA failed: " << GetLastError();
    }
    void TearDown() override {
        if (m_hDll)
            FreeLibrary(m_hDll);
    }
    HMODULE m_hDll = nullptr;
};

TEST_F(LoadedLibrary, EveryNameResolvesAndBothBoxNamesAreOneFunction) {
    for (const char *name : kExportNames)
        EXPECT_NE(GetProcAddress(m_hDll, name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(m_hDll, "XorBox"), GetProcAddress(m_hDll, "XorRectBox"));
    // Undecorated only.
    EXPECT_EQ(GetProcAddress(m_hDll, "XorBox@20"), nullptr);
    EXPECT_EQ(GetProcAddress(m_hDll, "_XorBox@20"), nullptr);
}

TEST_F(LoadedLibrary, ImportLibraryBindsToTheSameFunctions) {
    EXPECT_EQ(reinterpret_cast<FARPROC>(&XorBox), GetProcAddress(m_hDll, "XorBox"));
    EXPECT_EQ(reinterpret_cast<FARPROC>(&SPXStrechtPolyPoints),
              GetProcAddress(m_hDll, "SPXStrechtPolyPoints"));
}

struct CursorCase {
    int nId;
    DWORD xHotspot, yHotspot;
};

TEST_F(LoadedLibrary, CarriesFiveMonochromeCursorsWithTheirHotSpots) {
    const CursorCase cases[] = {{IDC_DRAWCROSS, 15, 15},
                                {IDC_OUTSIDEBOX, 0, 0},
                                {IDC_INSIDEBOX, 0, 0},
                                {IDC_MOVEVERTEX, 1, 2},
                                {IDC_CLOSEPOLY, 15, 15}};
    for (const CursorCase &c : cases) {
        SCOPED_TRACE(c.nId);
        HCURSOR hCursor = LoadCursorA(m_hDll, MAKEINTRESOURCEA(c.nId));
        ASSERT_NE(hCursor, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(hCursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, c.xHotspot);
        EXPECT_EQ(info.yHotspot, c.yHotspot);
        // Monochrome: no colour bitmap, and a mask of twice the height (AND above XOR).
        EXPECT_EQ(info.hbmColor, nullptr);
        BITMAP bm = {};
        ASSERT_TRUE(GetObjectA(info.hbmMask, sizeof(bm), &bm));
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, 64);
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
}

// Options change whole or by mask, in one call each; the word before is returned.
TEST(HostOptions, SetWholeOrOnlyTheMaskedBits) {
    const DWORD dwBoth = SPX_OPT_POLYGON_RUBBER_EDGE | SPX_OPT_SNAP_EDGES;
    const DWORD dwFirst = SetSelectionOptions(dwBoth | 0x80000000u);
    EXPECT_EQ(SetSelectionOptionsMasked(SPX_OPT_SNAP_EDGES, 0), dwBoth | 0x80000000u);
    EXPECT_EQ(SetSelectionOptionsMasked(SPX_OPT_SNAP_HOST_WINDOWS, ~0u),
              SPX_OPT_POLYGON_RUBBER_EDGE | 0x80000000u);
    EXPECT_EQ(SetSelectionOptions(dwFirst),
              SPX_OPT_POLYGON_RUBBER_EDGE | SPX_OPT_SNAP_HOST_WINDOWS | 0x80000000u);
}

// Settings as a host fills them: a region of nVertices corners of rc (0: rc itself).
SelectionSettings Shape(DWORD dwSet, DWORD dwStart = 0, RECT rc = {}, UINT nVertices = 0,
                        SIZE sz = {}) {
    SelectionSettings s = {};
    s.cbSize = sizeof(s);
    s.dwSet = dwSet;
    s.dwStart = dwStart;
    s.rcStart = rc;
    s.nVertices = nVertices;
    for (UINT i = 0; i < nVertices && i < MAX_POLY_POINTS; ++i)
        s.aVertices[i] = POINT{i % 2 ? rc.right : rc.left, i / 2 ? rc.bottom : rc.top};
    s.szRatio = s.szFixed = s.szMinimum = sz;
    return s;
}

// Every value checked: a bad one refuses the whole call and changes nothing; a region partly or
// wholly off the virtual screen (1024 by 768 here, and a second monitor left or above) is cut or
// dropped.
TEST(HostShapes, BadSettingsAreRefusedAndRegionsHeldToTheScreen) {
    SelectionSettings small = Shape(SPX_SET_RATIO, 0, {}, 0, {4, 3});
    small.cbSize = 8;
    const struct {
        const char *pszWhat;
        SelectionSettings settings;
        int nResult;
    } cases[] = {
        {"a structure too small", small, 0},
        {"an unknown setting", Shape(0x100), 0},
        {"a ratio with a side 0", Shape(SPX_SET_RATIO, 0, {}, 0, {16, 0}), 0},
        {"a fixed size larger than the screen", Shape(SPX_SET_FIXED, 0, {}, 0, {5000, 100}), 0},
        {"a negative minimum", Shape(SPX_SET_MINIMUM, 0, {}, 0, {-1, 5}), 0},
        {"an empty starting rectangle", Shape(SPX_SET_START, SPX_START_REGION, {10, 10, 10, 50}),
         0},
        {"two vertices", Shape(SPX_SET_START, SPX_START_REGION, {10, 10, 50, 50}, 2), 0},
        {"an unknown start", Shape(SPX_SET_START, 7), 0},
        {"a box moved while none is shown", Shape(SPX_SET_BOX, 0, {10, 10, 50, 50}), 0},
        {"a ratio and a start, both good",
         Shape(SPX_SET_RATIO | SPX_SET_START, SPX_START_REGION, {300, 200, 100, 50}, 0, {4, 3}),
         SPX_SHAPE_SET},
        {"a start half off the primary's bottom right",
         Shape(SPX_SET_START, SPX_START_REGION, {900, 700, 1200, 900}), SPX_SHAPE_CLIPPED},
        {"a polygon wholly off every monitor",
         Shape(SPX_SET_START, SPX_START_REGION, {5000, 5000, 5100, 5100}, 3), SPX_SHAPE_DROPPED},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SetSelectionShape(&c.settings), c.nResult) << c.pszWhat;
    EXPECT_EQ(SetSelectionShape(nullptr), 0);
    SelectionSettings last = {};
    EXPECT_EQ(GetLastSelection(MODE_RECTANGLE, nullptr), 0);
    EXPECT_EQ(GetLastSelection(MODE_RECTANGLE, &last), 0) << "cbSize 0";
    last.cbSize = sizeof(last);
    EXPECT_EQ(GetLastSelection(MODE_RECTANGLE, &last), 0) << "nothing committed yet";
    const SelectionSettings clear =
        Shape(SPX_SET_START | SPX_SET_RATIO | SPX_SET_FIXED | SPX_SET_MINIMUM);
    EXPECT_EQ(SetSelectionShape(&clear), SPX_SHAPE_SET);
}

DWORD WINAPI EndIfStillWaiting(LPVOID pvDone) {
    if (WaitForSingleObject(pvDone, 15000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "FreeLibrary of the plug-in hangs\n");
        ExitProcess(3);
    }
    return 0;
}

// A plug-in that turns the low-level hook off as it is unloaded, in its DllMain: turning off
// waits for no thread under the loader lock, so the unload returns.
TEST(HostPlugin, TurnsTheLowLevelHookOffWhileItIsUnloaded) {
    SetEnvironmentVariableA("SPXHK_HOOKS", "lowlevel");
    HMODULE hPlugin = LoadLibraryA("hook_plugin.dll");
    ASSERT_NE(hPlugin, nullptr);
    const auto pfnOn = reinterpret_cast<int (*)()>(
        reinterpret_cast<void *>(GetProcAddress(hPlugin, "PluginHookOn")));
    ASSERT_NE(pfnOn, nullptr);
    EXPECT_EQ(pfnOn(), 1);
    HANDLE hDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE hGuard = CreateThread(nullptr, 0, EndIfStillWaiting, hDone, 0, nullptr);
    EXPECT_TRUE(FreeLibrary(hPlugin));
    SetEvent(hDone);
    WaitForSingleObject(hGuard, INFINITE);
    CloseHandle(hGuard);
    CloseHandle(hDone);
    SetEnvironmentVariableA("SPXHK_HOOKS", nullptr);
}

TEST(HeaderFromC, AgreesWithCppOnTheLayout) {
    EXPECT_EQ(HostRecordSizeFromC(), sizeof(HostRecord));
    EXPECT_EQ(ShapeOffsetFromC(), offsetof(HostRecord, shape));
}

// A host's drawing session through the import library: every figure on, then every figure off.
TEST(HostDrawing, EveryFigureComesOffAgainPixelExactly) {
    PatternWindow pattern(RECT{100, 100, 600, 500});
    HWND hwnd =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 380,
                        300, 150, 100, nullptr, nullptr, nullptr, nullptr);
    SettleScreen();
    ScreenSnapshot before = ScreenSnapshot::Take();

    const POINT ptA = {150, 160};
    const POINT ptB = {330, 270};
    EXPECT_NE(XorBox(120, 120, 260, 200, 0), 0);
    EXPECT_NE(XorRectBox(140, 130, 300, 260, 1), 0);
    EXPECT_NE(MoveXorBox(200, 200, 250, 250, 350, 320, 0), 0);
    EXPECT_NE(SPXXorLine(&ptA, &ptB), 0);
    EXPECT_NE(SPXXorPoint(&ptA), 0);
    EXPECT_NE(SPXXORWindow(hwnd), 0);
    ScreenSnapshot drawn = ScreenSnapshot::Take();
    EXPECT_FALSE(drawn == before);
    EXPECT_TRUE(NotInverted(before, drawn).empty());

    // Off again in another order. MoveXorBox drew the box to its new corner, and also the box to
    // the old corner, which was not on the screen for it to erase.
    SPXXORWindow(hwnd);
    XorBox(200, 200, 350, 320, 0);
    XorBox(250, 250, 200, 200, 0);
    SPXXorPoint(&ptA);
    SPXXorLine(&ptA, &ptB);
    XorBox(300, 260, 140, 130, 1);
    XorBox(260, 200, 120, 120, 0);
    EXPECT_TRUE(ScreenSnapshot::Take() == before);
    EXPECT_TRUE(DrawAndEraseBoxFromC(130, 140, 230, 240));
    EXPECT_TRUE(ScreenSnapshot::Take() == before);
    DestroyWindow(hwnd);
}

// A host's polygon session through the import library, on a record laid out as the header says.
TEST(HostPolygon, BuildBoundStretchDrawAndFree) {
    PatternWindow pattern(RECT{100, 100, 600, 500});
    ScreenSnapshot before = ScreenSnapshot::Take();

    static HostRecord record;
    std::memset(&record, 0xAB, sizeof(record));
    record.shape.nMode = MODE_POLYGON;
    record.shape.nCount = 0;
    const POINT points[] = {{200, 200}, {300, 180}, {320, 300}, {210, 280}};
    for (const POINT &pt : points)
        EXPECT_EQ(SPXAddPolyPoint(&record.shape, &pt), &record.shape);
    EXPECT_EQ(record.shape.nCount, 4u);

    RECT rcBounds;
    SPXCalcPolygonRect(&record.shape, &rcBounds);
    EXPECT_EQ(rcBounds.left, 200);
    EXPECT_EQ(rcBounds.top, 180);
    EXPECT_EQ(rcBounds.right, 320);
    EXPECT_EQ(rcBounds.bottom, 300);

    SelectionShape copy = record.shape;
    EXPECT_EQ(SPXXorPolyPoints(&copy), 1);
    // Double the polygon's size about its top-left corner, redrawn in place.
    EXPECT_EQ(SPXStrechtPolyPoints(&record.shape, &copy, 200, 180, 320, 300, 200, 180, 440, 420),
              1);
    EXPECT_EQ(copy.aPoints[1].x, 400);
    EXPECT_EQ(copy.aPoints[1].y, 180);
    EXPECT_EQ(copy.aPoints[2].x, 440);
    EXPECT_EQ(copy.aPoints[2].y, 420);
    EXPECT_NE(SPXErasePolyPoints(&copy), 0);
    EXPECT_TRUE(ScreenSnapshot::Take() == before);

    SPXFreePolyPoints(&record.shape);
    EXPECT_EQ(record.shape.nCount, 0u);
    EXPECT_EQ(record.shape.aPoints[3].x, 0);
    // The host's own bytes around the shape are untouched.
    EXPECT_EQ(record.abHost1[571], 0xAB);
    EXPECT_EQ(record.abHost2[0], 0xAB);
    EXPECT_EQ(SPXXorPolyPoints(&record.shape), 0);
    EXPECT_EQ(SPXErasePolyPoints(&record.shape), 0);
}

} // namespace
