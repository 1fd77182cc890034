// The Escape hook: a second journal-record hook that reports every Escape press to a host window.
#pragma once

#include <windows.h>

// Posts UM_ESCAPE for an Escape key-down record and keeps that record from the rest of the chain;
// passes everything else on.
LRESULT CALLBACK EscapeHookProc(int nCode, WPARAM wParam, LPARAM lParam);
