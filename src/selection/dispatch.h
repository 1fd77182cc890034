// The selection's door for the input layer: every event the hooks see comes in here, in the
// order the person made them, whichever path brought it.
#pragma once

#include "selection/input_event.h"

// Acts on one event as the selection does, without passing it on: filtered, then handed to the
// handler of its kind and of the host's mode.
void SelectionEvent(const InputEvent &event);

// Events after the one handed last were lost (the input queue was full): the gesture under way
// cannot end as the person ended it, so it is thrown away.
void SelectionInputLost();
