#include "selection/element_lookup.h"

#include "host/dpi_scope.h"
#include "host/hook_state.h"
#include "host/library_windows.h"
#include "selection/uia_client.h"

#include <new>

namespace {

const UINT WM_SPX_ELEMENTS = WM_APP + 0x51;
const char kAnswerClass[] = "SPXHK110Elements";
// Look-up threads given up on while a provider kept them: past this many still in a call, no
// more are started until one returns.
const LONG kMaxLookupThreads = 4;
// The elements a search by rectangle looks at, where the platform cannot say what is at a point.
const int kMaxSearched = 512;

// What the host's thread and one look-up thread share, under cs. Both hold it; the last to let go
// deletes it.
struct LookupShared {
    CRITICAL_SECTION cs;
    LONG nRefs;
    HANDLE hWake; // a question came, or the end
    bool bStop;
    bool bAsked; // a question waits: nAsked, ptAsked, hwndAsked
    unsigned nAsked;
    POINT ptAsked;
    HWND hwndAsked;
    DWORD dwBusySince; // when the thread took up its question; 0 while it waits
    bool bAnswered;    // answer waits for the host's thread
    ElementAnswer answer;
    HWND hwndAnswer;
};

void Release(LookupShared *pShared) {
    if (InterlockedDecrement(&pShared->nRefs) != 0)
        return;
    DeleteCriticalSection(&pShared->cs);
    CloseHandle(pShared->hWake);
    delete pShared;
}

// The host thread's side.
LookupShared *pLookup = nullptr;
HWND hwndAnswers = nullptr;
void (*pfnOnAnswer)(const ElementAnswer &) = nullptr;
unsigned nLastQuestion = 0;
volatile LONG nLookupThreads = 0;

// COM, loaded on the look-up thread from the system's own folder: the host's process gets it only
// once a look-up runs.
struct ComCalls {
    HMODULE hOle = nullptr;
    HMODULE hOleAut = nullptr;
    HRESULT(WINAPI *pfnInitialize)(void *, DWORD) = nullptr;
    void(WINAPI *pfnUninitialize)() = nullptr;
    HRESULT(WINAPI *pfnCreate)(REFCLSID, IUnknown *, DWORD, REFIID, void **) = nullptr;
    void(WINAPI *pfnFreeString)(BSTR) = nullptr;
};

template <typename Fn> void Find(HMODULE hModule, const char *pszName, Fn &pfn) {
    pfn = hModule ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(hModule, pszName)))
                  : nullptr;
}

bool LoadCom(ComCalls &com) {
    com.hOle = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    com.hOleAut = LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    Find(com.hOle, "CoInitializeEx", com.pfnInitialize);
    Find(com.hOle, "CoUninitialize", com.pfnUninitialize);
    Find(com.hOle, "CoCreateInstance", com.pfnCreate);
    Find(com.hOleAut, "SysFreeString", com.pfnFreeString);
    return com.pfnInitialize && com.pfnUninitialize && com.pfnCreate && com.pfnFreeString;
}

void UnloadCom(ComCalls &com) {
    if (com.hOle)
        FreeLibrary(com.hOle);
    if (com.hOleAut)
        FreeLibrary(com.hOleAut);
}

template <typename T> void ReleaseOf(T *&p) {
    if (p)
        p->Release();
    p = nullptr;
}

// What the look-up thread holds of UI Automation.
struct Automation {
    ComCalls com;
    IUiaAutomation *pUia = nullptr;
    IUiaTreeWalker *pWalker = nullptr;
    IUiaCondition *pAll = nullptr;
};

LONGLONG Area(const RECT &rc) {
    return LONGLONG(rc.right - rc.left) * (rc.bottom - rc.top);
}

void NameAndType(const Automation &uia, IUiaElement *pElement, ElementLevel &level) {
    level.szName[0] = 0;
    level.nControlType = 0;
    BSTR bstrName = nullptr;
    if (SUCCEEDED(pElement->get_CurrentName(&bstrName)) && bstrName) {
        int i = 0;
        for (; i < 255 && bstrName[i]; ++i)
            level.szName[i] = bstrName[i];
        level.szName[i] = 0;
        uia.com.pfnFreeString(bstrName);
    }
    int nType = 0;
    if (SUCCEEDED(pElement->get_CurrentControlType(&nType)))
        level.nControlType = nType;
}

// Where the element at a point lies on the screen and holds the point: its rectangle.
bool HoldsPoint(IUiaElement *pElement, POINT pt, RECT &rc) {
    return SUCCEEDED(pElement->get_CurrentBoundingRectangle(&rc)) && !IsRectEmpty(&rc) &&
           PtInRect(&rc, pt);
}

// From the element the platform finds at the point up to the control's own: false when the way
// up reaches another window first (the element is not the control's).
bool ElementsUpFrom(const Automation &uia, IUiaElement *pAt, ElementAnswer &answer) {
    IUiaElement *pElement = pAt;
    pElement->AddRef();
    bool bControls = false;
    for (int nDepth = 0; pElement && nDepth < 64; ++nDepth) {
        void *hwnd = nullptr;
        if (SUCCEEDED(pElement->get_CurrentNativeWindowHandle(&hwnd)) && hwnd) {
            bControls = hwnd == answer.hwndControl;
            break;
        }
        RECT rc;
        if (answer.nLevels < kMaxElementLevels && HoldsPoint(pElement, answer.pt, rc)) {
            ElementLevel &level = answer.aLevels[answer.nLevels++];
            level.rc = rc;
            NameAndType(uia, pElement, level);
        }
        IUiaElement *pParent = nullptr;
        if (!uia.pWalker || FAILED(uia.pWalker->GetParentElement(pElement, &pParent)))
            pParent = nullptr;
        pElement->Release();
        pElement = pParent;
    }
    ReleaseOf(pElement);
    if (!bControls)
        answer.nLevels = 0;
    return bControls;
}

// Where the platform cannot say what is at a point: the control's elements that hold it, the
// smallest first.
void ElementsSearched(const Automation &uia, ElementAnswer &answer) {
    IUiaElement *pRoot = nullptr;
    IUiaElementArray *pFound = nullptr;
    int nFound = 0;
    if (FAILED(uia.pUia->ElementFromHandle(answer.hwndControl, &pRoot)) || !pRoot || !uia.pAll ||
        FAILED(pRoot->FindAll(UIA_TREE_SCOPE_DESCENDANTS, uia.pAll, &pFound)) || !pFound ||
        FAILED(pFound->get_Length(&nFound)))
        nFound = 0;
    for (int i = 0; i < nFound && i < kMaxSearched; ++i) {
        IUiaElement *pElement = nullptr;
        if (FAILED(pFound->GetElement(i, &pElement)) || !pElement)
            continue;
        // Child windows are controls of their own.
        void *hwnd = nullptr;
        RECT rc;
        if (!(SUCCEEDED(pElement->get_CurrentNativeWindowHandle(&hwnd)) && hwnd) &&
            HoldsPoint(pElement, answer.pt, rc)) {
            // Kept in order, the smallest first; the largest falls off a full list.
            int j = answer.nLevels < kMaxElementLevels ? answer.nLevels++ : kMaxElementLevels;
            while (j > 0 && Area(answer.aLevels[j - 1].rc) > Area(rc)) {
                if (j < kMaxElementLevels)
                    answer.aLevels[j] = answer.aLevels[j - 1];
                --j;
            }
            if (j < kMaxElementLevels) {
                answer.aLevels[j].rc = rc;
                NameAndType(uia, pElement, answer.aLevels[j]);
            }
        }
        pElement->Release();
    }
    ReleaseOf(pFound);
    ReleaseOf(pRoot);
}

void LookUp(const Automation &uia, ElementAnswer &answer) {
    if (!uia.pUia || !IsWindow(answer.hwndControl))
        return;
    IUiaElement *pAt = nullptr;
    if (SUCCEEDED(uia.pUia->ElementFromPoint(answer.pt, &pAt)) && pAt) {
        const bool bControls = ElementsUpFrom(uia, pAt, answer);
        pAt->Release();
        if (bControls)
            return;
    }
    answer.nLevels = 0;
    ElementsSearched(uia, answer);
}

DWORD WINAPI LookupThread(LPVOID pParam) {
    LookupShared &shared = *static_cast<LookupShared *>(pParam);
    const HMODULE hModule = HoldLibraryForThread();
    UsePhysicalPixelsOnThisThread();
    Automation uia;
    const bool bCom =
        LoadCom(uia.com) && SUCCEEDED(uia.com.pfnInitialize(nullptr, COINIT_MULTITHREADED));
    if (bCom &&
        SUCCEEDED(uia.com.pfnCreate(kClsidUiAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                    kIidUiAutomation, reinterpret_cast<void **>(&uia.pUia))) &&
        uia.pUia) {
        uia.pUia->get_ControlViewWalker(&uia.pWalker);
        uia.pUia->CreateTrueCondition(&uia.pAll);
    }
    for (;;) {
        WaitForSingleObject(shared.hWake, INFINITE);
        ElementAnswer answer = {};
        EnterCriticalSection(&shared.cs);
        const bool bStop = shared.bStop, bAsked = shared.bAsked;
        if (bAsked) {
            answer.nRequest = shared.nAsked;
            answer.pt = shared.ptAsked;
            answer.hwndControl = shared.hwndAsked;
            shared.bAsked = false;
            shared.dwBusySince = GetTickCount() | 1;
        }
        LeaveCriticalSection(&shared.cs);
        if (bStop)
            break;
        if (!bAsked)
            continue;
        LookUp(uia, answer);
        EnterCriticalSection(&shared.cs);
        shared.dwBusySince = 0;
        const HWND hwndAnswer = shared.bStop ? nullptr : shared.hwndAnswer;
        if (hwndAnswer) {
            shared.answer = answer;
            shared.bAnswered = true;
        }
        LeaveCriticalSection(&shared.cs);
        if (hwndAnswer)
            PostMessageA(hwndAnswer, WM_SPX_ELEMENTS, 0, 0);
    }
    ReleaseOf(uia.pAll);
    ReleaseOf(uia.pWalker);
    ReleaseOf(uia.pUia);
    if (bCom)
        uia.com.pfnUninitialize();
    UnloadCom(uia.com);
    Release(&shared);
    InterlockedDecrement(&nLookupThreads);
    if (hModule)
        FreeLibraryAndExitThread(hModule, 0);
    return 0;
}

LRESULT CALLBACK AnswerProc(HWND hwnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg != WM_SPX_ELEMENTS)
        return DefWindowProcA(hwnd, nMsg, wParam, lParam);
    if (!pLookup)
        return 0;
    // Large: kept off the stack of whatever loop dispatched the message.
    static ElementAnswer answer;
    EnterCriticalSection(&pLookup->cs);
    const bool bAnswered = pLookup->bAnswered;
    if (bAnswered)
        answer = pLookup->answer;
    pLookup->bAnswered = false;
    LeaveCriticalSection(&pLookup->cs);
    if (bAnswered && pfnOnAnswer) {
        PhysicalPixels physicalPixels;
        pfnOnAnswer(answer);
    }
    return 0;
}

bool MakeAnswerWindow() {
    // Answers come to the thread that asks: the one that turned the hook on.
    if (IsWindow(hwndAnswers) &&
        GetWindowThreadProcessId(hwndAnswers, nullptr) == GetCurrentThreadId())
        return true;
    hwndAnswers = CreateLibraryMessageWindow(kAnswerClass, AnswerProc);
    return hwndAnswers != nullptr;
}

} // namespace

bool StartElementLookup(void (*pfnAnswer)(const ElementAnswer &answer)) {
    pfnOnAnswer = pfnAnswer;
    if (pLookup)
        return true;
    if (nLookupThreads >= kMaxLookupThreads || !MakeAnswerWindow())
        return false;
    LookupShared *pShared = new (std::nothrow) LookupShared;
    if (!pShared)
        return false;
    InitializeCriticalSection(&pShared->cs);
    pShared->nRefs = 2;
    pShared->hWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    pShared->bStop = pShared->bAsked = pShared->bAnswered = false;
    pShared->nAsked = 0;
    pShared->dwBusySince = 0;
    pShared->hwndAnswer = hwndAnswers;
    InterlockedIncrement(&nLookupThreads);
    const HANDLE hThread =
        pShared->hWake ? CreateThread(nullptr, 0, LookupThread, pShared, 0, nullptr) : nullptr;
    if (!hThread) {
        InterlockedDecrement(&nLookupThreads);
        Release(pShared);
        Release(pShared);
        return false;
    }
    CloseHandle(hThread);
    pLookup = pShared;
    return true;
}

unsigned AskForElements(POINT pt, HWND hwndControl) {
    if (!pLookup)
        return 0;
    EnterCriticalSection(&pLookup->cs);
    const DWORD dwBusySince = pLookup->dwBusySince;
    LeaveCriticalSection(&pLookup->cs);
    // A provider that keeps the thread past the bound is given up: the thread ends when it lets
    // go, and a fresh one takes the questions.
    if (dwBusySince && GetTickCount() - dwBusySince > kElementAnswerBoundMs) {
        void (*pfnAnswer)(const ElementAnswer &) = pfnOnAnswer;
        StopElementLookup();
        if (!StartElementLookup(pfnAnswer))
            return 0;
    }
    EnterCriticalSection(&pLookup->cs);
    pLookup->bAsked = true;
    pLookup->nAsked = ++nLastQuestion;
    pLookup->ptAsked = pt;
    pLookup->hwndAsked = hwndControl;
    LeaveCriticalSection(&pLookup->cs);
    SetEvent(pLookup->hWake);
    return nLastQuestion;
}

void StopElementLookup() {
    if (!pLookup)
        return;
    EnterCriticalSection(&pLookup->cs);
    pLookup->bStop = true;
    pLookup->bAnswered = false;
    LeaveCriticalSection(&pLookup->cs);
    SetEvent(pLookup->hWake);
    Release(pLookup);
    pLookup = nullptr;
}
