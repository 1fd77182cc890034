// The few UI Automation client interfaces the element look-up calls, in the platform's layout
// (each method in its vtable slot; those never called hold a slot and nothing else). The
// compiler's headers for this platform do not declare them.
#pragma once

#include <windows.h>

#include <unknwn.h>

struct IUiaElement;

struct IUiaCondition : IUnknown {};

struct IUiaElementArray : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Length(int *pnLength) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetElement(int nIndex, IUiaElement **ppElement) = 0;
};

struct IUiaTreeWalker : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetParentElement(IUiaElement *pElement,
                                                       IUiaElement **ppParent) = 0;
};

enum { UIA_TREE_SCOPE_DESCENDANTS = 4 };

struct IUiaElement : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(void *) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirst(int, IUiaCondition *, IUiaElement **) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll(int nScope, IUiaCondition *pCondition,
                                              IUiaElementArray **ppFound) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPatternAs() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPattern() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPattern() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedParent() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedChildren() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentProcessId(int *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentControlType(int *pnType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentLocalizedControlType(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentName(BSTR *pbstrName) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAcceleratorKey(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAccessKey(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentHasKeyboardFocus(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsKeyboardFocusable(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsEnabled(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAutomationId(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentClassName(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentHelpText(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentCulture(int *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsControlElement(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsContentElement(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsPassword(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentNativeWindowHandle(void **phwnd) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentItemType(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsOffscreen(BOOL *pbOffscreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentOrientation(int *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentFrameworkId(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsRequiredForForm(BOOL *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentItemStatus(BSTR *) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentBoundingRectangle(RECT *prc) = 0;
};

struct IUiaAutomation : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CompareElements() = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(IUiaElement **) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(void *hwnd, IUiaElement **ppElement) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT pt, IUiaElement **ppElement) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IUiaElement **) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(IUiaTreeWalker **ppWalker) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker(IUiaTreeWalker **) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker(IUiaTreeWalker **) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition(IUiaCondition **) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition(IUiaCondition **) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition(IUiaCondition **) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUiaCondition **ppCondition) = 0;
};

// {FF48DBA4-60EF-4201-AA87-54103EEF594E}, {30CBE57D-D9D0-452A-AB13-7AC5AC4825EE}
constexpr GUID kClsidUiAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr GUID kIidUiAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
