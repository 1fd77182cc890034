#include "element_provider.h"

#include <ole2.h>
#include <uiautomationcore.h>

#include <new>

namespace {

const LONG kUiaRootObjectId = -25;
const int kUiaAppendRuntimeId = 3;
const PROPERTYID kNameProperty = 30005, kControlTypeProperty = 30003;
const LONG kPaneControlType = 50033;

volatile LONG nDelayMs = 0;

void Delay() {
    if (const LONG n = nDelayMs)
        Sleep(DWORD(n));
}

// The platform's own calls, looked up once (MinGW has no import library for them).
using ReturnFn = LRESULT(WINAPI *)(HWND, WPARAM, LPARAM, IRawElementProviderSimple *);
using HostFn = HRESULT(WINAPI *)(HWND, IRawElementProviderSimple **);
HMODULE UiaCore() {
    static const HMODULE hCore = LoadLibraryW(L"uiautomationcore.dll");
    return hCore;
}
template <typename Fn> Fn CoreCall(const char *pszName) {
    return UiaCore()
               ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(UiaCore(), pszName)))
               : nullptr;
}

UiaRect OnScreen(HWND hwnd, RECT rc) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&rc), 2);
    return UiaRect{double(rc.left), double(rc.top), double(rc.right - rc.left),
                   double(rc.bottom - rc.top)};
}

class Root;

// One element: a part, or (nPart -1) the window's own, which also finds the part at a point.
class Element final : public IRawElementProviderSimple,
                      public IRawElementProviderFragment,
                      public IRawElementProviderFragmentRoot {
public:
    Element(HWND hwnd, const ElementPart *aParts, int nParts, int nPart)
        : m_hwnd(hwnd), m_aParts(aParts), m_nParts(nParts), m_nPart(nPart) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IRawElementProviderSimple))
            *ppv = static_cast<IRawElementProviderSimple *>(this);
        else if (riid == __uuidof(IRawElementProviderFragment))
            *ppv = static_cast<IRawElementProviderFragment *>(this);
        else if (riid == __uuidof(IRawElementProviderFragmentRoot) && m_nPart < 0)
            *ppv = static_cast<IRawElementProviderFragmentRoot *>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&m_nRefs);
        if (n == 0)
            delete this;
        return ULONG(n);
    }

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions *pOptions) override {
        if (!pOptions)
            return E_POINTER;
        *pOptions = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown **ppPattern) override {
        if (!ppPattern)
            return E_POINTER;
        *ppPattern = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID nId, VARIANT *pValue) override {
        if (!pValue)
            return E_POINTER;
        Delay();
        VariantInit(pValue);
        if (nId == kControlTypeProperty) {
            pValue->vt = VT_I4;
            pValue->lVal = m_nPart < 0 ? kPaneControlType : m_aParts[m_nPart].nControlType;
        } else if (nId == kNameProperty && m_nPart >= 0) {
            pValue->vt = VT_BSTR;
            pValue->bstrVal = SysAllocString(m_aParts[m_nPart].pszName);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple **pp) override {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        // The window's own element stands on the window's: its place, name and parent.
        const HostFn pfnHost = CoreCall<HostFn>("UiaHostProviderFromHwnd");
        return m_nPart < 0 && pfnHost ? pfnHost(m_hwnd, pp) : S_OK;
    }

    // IRawElementProviderFragment
    HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                       IRawElementProviderFragment **pp) override {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        Delay();
        int nTo = -2; // none
        const int nHolder = m_nPart < 0 ? -2 : m_aParts[m_nPart].nParent;
        switch (direction) {
        case NavigateDirection_Parent:
            nTo = m_nPart < 0 ? -2 : nHolder;
            break;
        case NavigateDirection_FirstChild:
        case NavigateDirection_LastChild: {
            const bool bFirst = direction == NavigateDirection_FirstChild;
            for (int i = 0; i < m_nParts; ++i) {
                const int n = bFirst ? i : m_nParts - 1 - i;
                if (m_aParts[n].nParent == m_nPart) {
                    nTo = n;
                    break;
                }
            }
            break;
        }
        case NavigateDirection_NextSibling:
        case NavigateDirection_PreviousSibling: {
            const int nStep = direction == NavigateDirection_NextSibling ? 1 : -1;
            for (int n = m_nPart + nStep; m_nPart >= 0 && n >= 0 && n < m_nParts; n += nStep)
                if (m_aParts[n].nParent == nHolder) {
                    nTo = n;
                    break;
                }
            break;
        }
        }
        if (nTo == -2)
            return S_OK;
        Element *pTo = new (std::nothrow) Element(m_hwnd, m_aParts, m_nParts, nTo);
        if (!pTo)
            return E_OUTOFMEMORY;
        *pp = static_cast<IRawElementProviderFragment *>(pTo);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY **ppId) override {
        if (!ppId)
            return E_POINTER;
        *ppId = nullptr;
        // The window's own element takes the window's; a part's is its place among the parts.
        if (m_nPart < 0)
            return S_OK;
        *ppId = SafeArrayCreateVector(VT_I4, 0, 2);
        if (!*ppId)
            return E_OUTOFMEMORY;
        const LONG aId[2] = {kUiaAppendRuntimeId, m_nPart + 1};
        for (LONG i = 0; i < 2; ++i)
            SafeArrayPutElement(*ppId, &i, const_cast<LONG *>(&aId[i]));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect *pRect) override {
        if (!pRect)
            return E_POINTER;
        Delay();
        RECT rc;
        if (m_nPart < 0)
            GetClientRect(m_hwnd, &rc);
        else
            rc = m_aParts[m_nPart].rcClient;
        *pRect = OnScreen(m_hwnd, rc);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY **pp) override {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot **pp) override {
        if (!pp)
            return E_POINTER;
        Element *pRoot = new (std::nothrow) Element(m_hwnd, m_aParts, m_nParts, -1);
        *pp = pRoot ? static_cast<IRawElementProviderFragmentRoot *>(pRoot) : nullptr;
        return pRoot ? S_OK : E_OUTOFMEMORY;
    }

    // IRawElementProviderFragmentRoot: the deepest part at a point of the screen.
    HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y,
                                                       IRawElementProviderFragment **pp) override {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        Delay();
        POINT pt = {LONG(x), LONG(y)};
        ScreenToClient(m_hwnd, &pt);
        int nAt = -1;
        LONGLONG nSmallest = 0;
        for (int i = 0; i < m_nParts; ++i) {
            const RECT &rc = m_aParts[i].rcClient;
            const LONGLONG nArea = LONGLONG(rc.right - rc.left) * (rc.bottom - rc.top);
            if (PtInRect(&rc, pt) && (nAt < 0 || nArea < nSmallest)) {
                nAt = i;
                nSmallest = nArea;
            }
        }
        Element *pAt = new (std::nothrow) Element(m_hwnd, m_aParts, m_nParts, nAt);
        if (!pAt)
            return E_OUTOFMEMORY;
        *pp = static_cast<IRawElementProviderFragment *>(pAt);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment **pp) override {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        return S_OK;
    }

private:
    ~Element() = default;

    LONG m_nRefs = 1;
    HWND m_hwnd;
    const ElementPart *m_aParts;
    int m_nParts;
    int m_nPart;
};

} // namespace

bool ServeElements(HWND hwnd, WPARAM wParam, LPARAM lParam, const ElementPart *aParts, int nParts,
                   LRESULT &lResult) {
    const ReturnFn pfnReturn = CoreCall<ReturnFn>("UiaReturnRawElementProvider");
    if (LONG(lParam) != kUiaRootObjectId || !pfnReturn)
        return false;
    Element *pRoot = new (std::nothrow) Element(hwnd, aParts, nParts, -1);
    if (!pRoot)
        return false;
    lResult = pfnReturn(hwnd, wParam, lParam, static_cast<IRawElementProviderSimple *>(pRoot));
    pRoot->Release();
    return true;
}

void DelayElements(DWORD dwMilliseconds) {
    InterlockedExchange(&nDelayMs, LONG(dwMilliseconds));
}
