// Installing the selection and Escape hooks by the first of the two paths (host/hook_state.h)
// that the platform accepts, and noticing when the platform cancels journal-record hooks.
#pragma once

#include <windows.h>

// Told when the platform cancelled a journal-record hook and removed it (the person pressed
// Ctrl+Esc or Ctrl+Alt+Del): whoever turned the hook on turns it off as the host would, so that
// it can be turned on again.
class HookCancelListener {
public:
    virtual void HookCancelled() = 0;

protected:
    ~HookCancelListener() = default;
};

// The paths the environment variable SPXHK_HOOKS allows: "journal" or "lowlevel" alone; any other
// value, or none, both (journal first).
UINT AllowedHookPaths();

// The keyboard half of a low-level selection hook (hMouseHook holds its mouse half).
extern HHOOK hMouseKeyHook;

// Installs the selection hook by the first allowed path the platform accepts: hMouseHook (and, on
// the low-level path, hMouseKeyHook) and nMouseHookPath are set. False when every path refused.
// pOnCancel hears when a journal-record selection hook is cancelled.
bool InstallSelectionHook(HookCancelListener *pOnCancel = nullptr);
// Removes whichever was installed; the result of removing the main hook.
BOOL RemoveSelectionHook();

// The module is being unloaded with hooks on: its journal-record hooks and the cancel watch are
// removed, without a word to anyone, since their procedures go with it.
void RemoveJournalHooksAtUnload();

// The same for the Escape hook: hKeyHook and nKeyHookPath.
bool InstallEscapeHook(HookCancelListener *pOnCancel = nullptr);
BOOL RemoveEscapeHook();
