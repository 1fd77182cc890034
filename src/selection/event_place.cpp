#include "selection/event_place.h"

namespace {

// The place of the event being dispatched.
enum { PLACE_NONE, PLACE_KNOWN, PLACE_UNREADABLE };
UINT nPlaceState = PLACE_NONE;
POINT ptPlace = {0, 0};

} // namespace

BOOL ReadEventCursorPos(POINT *ppt) {
    if (nPlaceState == PLACE_KNOWN) {
        *ppt = ptPlace;
        return TRUE;
    }
    return nPlaceState == PLACE_NONE ? GetCursorPos(ppt) : FALSE;
}

EventPlace::EventPlace() noexcept : m_nOuterState(nPlaceState), m_ptOuter(ptPlace) {}

EventPlace::~EventPlace() {
    nPlaceState = m_nOuterState;
    ptPlace = m_ptOuter;
}

void EventPlace::Set(BOOL bKnown, POINT pt) noexcept {
    nPlaceState = bKnown ? PLACE_KNOWN : PLACE_UNREADABLE;
    ptPlace = pt;
}
