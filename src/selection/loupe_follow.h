// The loupe at the pointer while the person draws a selection or adjusts the one in its box, when
// the host asks for it (SPX_OPT_LOUPE).
#pragma once

// After every event: the loupe shows, follows or goes as the selection now stands.
void FollowWithLoupe();
// The wheel turned (WHEEL_DELTA a notch, away from the person positive).
void LoupeWheelTurned(int nDelta);
// The loupe goes at once: a selection is about to be posted, Escape was pressed, the hook or the
// option goes off.
void HideLoupeNow();
// The loupe's window goes with the session that used it.
void EndLoupe();
