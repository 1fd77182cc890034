// The journal-record path of the selection hook: the platform calls the hook with each event
// record on the host's thread as the thread takes its input, and the record goes to the
// selection as it happens.
#pragma once

#include "selection/input_event.h"

// The held keys as the journal records have said so far, each side apart (input/held_keys.h).
extern UINT fJournalHeld;

// The journal-record hook procedure of the selection hook.
LRESULT CALLBACK SelectionHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// A journal record, with the keys held once it happened.
InputEvent FromJournalRecord(const EVENTMSG &event, UINT fHeld);

// Hands the selection a record that a journal-record hook called before the selection's kept
// from the rest of the chain, when the selection hook is one of those.
void HandRecordToSelection(const EVENTMSG &event);
