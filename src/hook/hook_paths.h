// The two ways input reaches the hooks. Journal-record hooks: the platform calls them with the
// event record on the host's thread as the thread takes its input. Low-level hooks, where journal
// hooks are refused: their callbacks only note the event and post it to a message-only window of
// the library on the host's thread, where the same dispatch runs when the message is delivered.
#pragma once

#include <windows.h>

enum { HOOK_JOURNAL = 1, HOOK_LOWLEVEL = 2 };

// The paths the environment variable SPXHK_HOOKS allows: "journal" or "lowlevel" alone; any other
// value, or none, both (journal first).
UINT AllowedHookPaths();

// The low-level mouse callback of the selection hook: notes the event for the dispatch and passes
// it on.
LRESULT CALLBACK SelectionMouseProc(int nCode, WPARAM wParam, LPARAM lParam);
// Its keyboard callback: notes key-downs, passes everything on.
LRESULT CALLBACK SelectionKeyProc(int nCode, WPARAM wParam, LPARAM lParam);

// Installs the selection hook by the first allowed path the platform accepts: hMouseHook (and, on
// the low-level path, hMouseKeyHook) and nMouseHookPath are set. False when every path refused.
bool InstallSelectionHook();
// Removes whichever was installed; the result of removing the main hook.
BOOL RemoveSelectionHook();

// The same for the Escape hook: hKeyHook and nKeyHookPath.
bool InstallEscapeHook();
BOOL RemoveEscapeHook();

// Where the event being dispatched happened, read once for the whole event: its own point on the
// low-level path, else the cursor position as the entry read it (FALSE when that failed). Outside
// an event, the cursor position.
BOOL ReadEventCursorPos(POINT *ppt);

// Fixes the place of the event being dispatched for as long as the object lives; the place of an
// event dispatched around it (a track runs others inside its own) comes back when it goes.
class EventPlace {
public:
    EventPlace() noexcept;
    ~EventPlace();
    EventPlace(const EventPlace &) = delete;
    EventPlace &operator=(const EventPlace &) = delete;
    // The event happened at pt, or (bKnown FALSE) its place cannot be had.
    void Set(BOOL bKnown, POINT pt) noexcept;
    // Nothing is known: the cursor position is read.
    void Clear() noexcept;

private:
    UINT m_nOuterState;
    POINT m_ptOuter;
};

// Hands an Escape key-down that the Escape hook keeps from the chain to the selection, when the
// selection hook would not see it otherwise.
void HandEscapeToSelection(const EVENTMSG &event);
