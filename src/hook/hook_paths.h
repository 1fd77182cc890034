// The two ways input reaches the hooks. Journal-record hooks: the platform calls them with the
// event record on the host's thread as the thread takes its input. Low-level hooks, where journal
// hooks are refused: a thread of the library's own holds them (hook_thread.h), their callbacks
// only note the event in the library's input queue, and a message-only window of the library on
// the host's thread runs the same dispatch over the queue when the host's loop delivers its wake
// message.
#pragma once

#include <windows.h>

enum { HOOK_JOURNAL = 1, HOOK_LOWLEVEL = 2 };

// The paths the environment variable SPXHK_HOOKS allows: "journal" or "lowlevel" alone; any other
// value, or none, both (journal first).
UINT AllowedHookPaths();

// The keys the selection acts on (Enter, Escape, the arrows): the only ones the low-level
// keyboard callback notes.
bool IsSelectionKey(UINT nVk);

// The low-level mouse callback of the selection hook, on the hooks' own thread: notes the event
// for the dispatch on the host's thread and passes it on.
LRESULT CALLBACK SelectionMouseProc(int nCode, WPARAM wParam, LPARAM lParam);
// Its keyboard callback: notes key-downs of the selection's keys, passes everything on.
LRESULT CALLBACK SelectionKeyProc(int nCode, WPARAM wParam, LPARAM lParam);

// MOD_SHIFT and MOD_CONTROL held at a key-down: as the low-level callback noted them at event
// time, or on the journal path, which hands the record over as it happens, as they are now.
UINT KeyModifiers(const EVENTMSG &event);

// Installs the selection hook by the first allowed path the platform accepts: hMouseHook (and, on
// the low-level path, hMouseKeyHook) and nMouseHookPath are set. False when every path refused.
bool InstallSelectionHook();
// Removes whichever was installed; the result of removing the main hook.
BOOL RemoveSelectionHook();

// The same for the Escape hook: hKeyHook and nKeyHookPath.
bool InstallEscapeHook();
BOOL RemoveEscapeHook();

// Hands an Escape key-down that the journal-record Escape hook keeps from the hooks after it to
// the selection, when the selection hook is one of those.
void HandEscapeToSelection(const EVENTMSG &event);
