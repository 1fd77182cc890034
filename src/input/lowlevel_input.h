// The low-level path, where journal-record hooks are refused: a thread of the library's own holds
// the low-level hooks (hook_thread.h), their callbacks only note each event in the input queue,
// and a message-only window of the library on the host's thread runs the selection over the
// queue when the host's loop delivers its wake message.
#pragma once

#include "tracker/mouse_capture.h"

#include <windows.h>

// The keys the selection acts on (Enter, Escape, Backspace, Space, the arrows, and Page Up and
// Page Down while the window modes step along their targets): with Shift and Ctrl going down and
// up, the only ones the low-level keyboard callback notes.
bool IsSelectionKey(UINT nVk);
// Whether Page Up and Page Down are the selection's keys now (set by the host's thread, read by
// the hooks' thread).
void TakePageKeys(bool bTake);

// The low-level mouse callback of the selection hook, on the hooks' own thread: notes the event
// for the dispatch on the host's thread and passes it on.
LRESULT CALLBACK SelectionMouseProc(int nCode, WPARAM wParam, LPARAM lParam);
// Its keyboard callback: notes key-downs of the selection's keys and Shift, Ctrl and Space going
// down and up, and passes everything on.
LRESULT CALLBACK SelectionKeyProc(int nCode, WPARAM wParam, LPARAM lParam);

// Opens the queue and its wake window and starts the thread with the selection's mouse and
// keyboard hooks: their handles in hMouse and hKey. False, with nothing left open, when any of it
// could not be had.
bool StartLowLevelSelection(HHOOK &hMouse, HHOOK &hKey);
// Ends the thread, then closes the queue: the result of removing the mouse hook.
BOOL StopLowLevelSelection();

// The drags of the resizing box take their input from the queue while the low-level selection
// hook is on: the next event waiting, as a message for the drag's window, each handed to the
// selection first.
DragInput *QueuedDragInput();

// How often the selection's low-level hooks were installed since they went on (two the first
// time: the mouse's and the keyboard's; one more each time the watchdog put one back).
LONG SelectionHookInstalls();
