// UI Automation elements for a window that draws parts of its own, none of them a window: each
// part a rectangle of the window's client area, with a name, a control type and the part that
// holds it. A window serves them by answering WM_GETOBJECT with ServeElements.
#pragma once

#include <windows.h>

struct ElementPart {
    RECT rcClient;
    const wchar_t *pszName;
    LONG nControlType; // UIA_ButtonControlTypeId (50000) and on
    int nParent;       // the part that holds it; -1: the window itself
};

// For a window procedure's WM_GETOBJECT: true, with the result to return, when the platform asks
// for the window's elements; false to pass the message on. The parts stay the caller's and must
// outlive the window.
bool ServeElements(HWND hwnd, WPARAM wParam, LPARAM lParam, const ElementPart *aParts, int nParts,
                   LRESULT &lResult);

// Every call the platform makes into the elements takes this long first: a provider that hangs.
void DelayElements(DWORD dwMilliseconds);
