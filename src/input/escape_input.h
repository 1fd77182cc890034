// The Escape hook's two paths: a journal-record hook on the host's thread, or a low-level
// keyboard hook on a thread of the library's own. Either posts UM_ESCAPE to the host's window at
// every Escape press.
#pragma once

#include <windows.h>

// Posts UM_ESCAPE for an Escape key-down record and keeps that record from the rest of the chain;
// passes everything else on.
LRESULT CALLBACK EscapeHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// Starts the thread with the low-level Escape hook: its handle in hKey. False, with nothing left
// running, when it could not be had.
bool StartLowLevelEscape(HHOOK &hKey);
// Ends the thread: the result of removing the hook.
BOOL StopLowLevelEscape();

// While both the selection and the Escape hook are low-level, an Escape is reported when the
// selection takes it from its queue, so that the host hears of Escape and of the selections in
// the order the person acted: the Escape hook's own thread leaves it alone.
void RouteEscapeThroughSelection(bool bRoute);
// The selection took an Escape key-down from its queue: reported when routed so.
void ReportQueuedEscape();
