// The events the low-level callbacks note, waiting for the host's thread to act on them: in the
// order they happened, a move behind a move merged into it as the platform merges mouse moves,
// each with what the platform said of the held buttons at the time. The callbacks only add to
// it; the dispatch, and a drag that runs inside the dispatch, take from it.
#pragma once

#include "selection/input_event.h"

// Empties the queue. Each time an event is added to an idle queue, nWake is posted to hwndSink
// (none: nothing is posted).
void OpenInputQueue(HWND hwndSink, UINT nWake);
void CloseInputQueue();
// The wake message was delivered: the next event added posts another.
void InputQueueWoken();

// Notes one event of a low-level callback: its record, read at event time. A move comes without
// its window.
void QueueInputEvent(const InputEvent &event);

// Takes the next event, in order: false when none waits. A mouse event's point lies within the
// virtual screen. When the gesture under way (its press taken, its release not) has lost its
// release (the platform reported its
// button up at an event and the next one is not that release, or pressed it again), that release
// comes first, at the gesture's last point (the point of the mouse event taken last, whether the
// dispatch or a drag took it).
bool TakeInputEvent(InputEvent &event);
// True once after the event taken last, when events behind it were lost because the queue was
// full.
bool TakeInputLoss();
// Events were lost after the event taken last and the loss has not been taken yet.
bool InputLossPending();
