// The window modes with SPX_OPT_PICK_ELEMENTS: the deepest thing under the pointer is the target,
// and the person steps out to what holds it and back in (see spxhk110.h).
#pragma once

#include "spxhk110.h"

// Whether the targets take the place of the plain window highlight now: a window mode, with
// bHighlightWindows and the option.
bool PickingTargets();
// Mouse move: the target under the pointer, framed and reported when it changes.
void FollowTarget();
// Steps out (nSteps > 0) or back in along the path of the target under the pointer.
void StepTarget(int nSteps);
// The wheel turned (WHEEL_DELTA a notch, away from the person positive): a step a notch.
void TargetWheelTurned(int nDelta);
// A click or Space: the target is posted as the selection.
void PickTarget();
// The target's frame comes off the screen (a new one is drawn at the next move).
void EraseTargetFrame();
// The session ends or the option goes off: the frame erased, the element look-up stopped.
void EndTargets();
// What the last pick took.
const PickedTarget &LastPick();
