// The place of the input event being dispatched: taken once at the entry, read by every handler
// of the event instead of asking the platform for the cursor position again.
#pragma once

#include <windows.h>

// Where the event being dispatched happened, as the entry took it once for the whole event: a
// mouse record's own point, the cursor position for a key (FALSE when it could not be read).
// Outside an event, the cursor position.
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

private:
    UINT m_nOuterState;
    POINT m_ptOuter;
};
