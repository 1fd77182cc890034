#include "selection/pointer_keys.h"

#include "draw/xor_draw.h"
#include "host/hook_state.h"
#include "selection/event_place.h"
#include "selection/gesture.h"
#include "selection/input_event.h"

#include <algorithm>

namespace {

bool MovePointer(BYTE nKey) {
    POINT pt;
    if (!ReadEventCursorPos(&pt))
        return false;
    const LONG nStep = (fHeldKeys & MOD_SHIFT) ? 10 : 1;
    pt.x += nKey == VK_LEFT ? -nStep : nKey == VK_RIGHT ? nStep : 0;
    pt.y += nKey == VK_UP ? -nStep : nKey == VK_DOWN ? nStep : 0;
    const RECT rcScreen = VirtualScreenRect();
    pt.x = std::clamp(pt.x, rcScreen.left, rcScreen.right - 1);
    pt.y = std::clamp(pt.y, rcScreen.top, rcScreen.bottom - 1);
    SetCursorPos(pt.x, pt.y);
    ptStreamPointer = pt;
    ptCursor = pt;
    return true;
}

} // namespace

PointerKeyResult PointerKey(BYTE nKey, UINT fHeldBefore) {
    if ((bSelectionShown && pResizingBox) || (nGestureButton && !IsKeyboardGesture()) ||
        bSwallowUntilUp)
        return POINTER_KEY_NONE;
    if (nKey >= VK_LEFT && nKey <= VK_DOWN)
        return MovePointer(nKey) ? POINTER_KEY_MOVED : POINTER_KEY_TAKEN;
    if (nKey != VK_SPACE)
        return POINTER_KEY_NONE;
    // A key held down repeats: only its first down clicks.
    return (fHeldBefore & HELD_SPACE) ? POINTER_KEY_TAKEN : POINTER_KEY_CLICK;
}
