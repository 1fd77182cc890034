// The two ways input reaches the hooks. Journal-record hooks: the platform calls them with the
// event record on the host's thread as the thread takes its input. Low-level hooks, where journal
// hooks are refused: lowlevel_input.h.
#pragma once

#include <windows.h>

enum { HOOK_JOURNAL = 1, HOOK_LOWLEVEL = 2 };

// The paths the environment variable SPXHK_HOOKS allows: "journal" or "lowlevel" alone; any other
// value, or none, both (journal first).
UINT AllowedHookPaths();

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
