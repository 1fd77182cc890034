// The shapes a host asks the selections to keep (SetSelectionShape): where they start, a ratio,
// an exact size, a minimum; and the last region committed in each mode, in this process.
#pragma once

#include "spxhk110.h"

// The ratio kept, width to height ({0, 0}: none).
SIZE ShapeRatio();
// The exact size of a rectangle or ellipse in modes 3 and 4 ({0, 0}: none).
SIZE FixedSize();
// The smallest the box can be dragged to.
SIZE MinimumBoxSize();

// Checks a host's settings against the virtual screen rcScreen, without changing anything: 0 when
// they are refused, else what taking them would do to their region or box (SPX_SHAPE_SET,
// _CLIPPED, _DROPPED). Needs no display.
int CheckSelectionSettings(const SelectionSettings &settings, const RECT &rcScreen);
// Takes the settings dwSet names but the box, which CheckSelectionSettings accepted; a starting
// region is kept as it lies within rcScreen, or dropped.
void TakeSelectionSettings(const SelectionSettings &settings, const RECT &rcScreen);

// The region a selection in nMode starts from as the hook goes on, within rcScreen: for modes 3
// and 4 its rectangle in rc; for mode 5 its vertices written into *pShape and their bounds in rc.
// False when there is none (or it lies wholly outside rcScreen now).
bool StartRegionFor(int nMode, const RECT &rcScreen, RECT &rc, SelectionShape *pShape);

// A selection was committed: it is the last region of its mode.
void RememberCommittedRect(int nMode, const RECT &rc);
void RememberCommittedPolygon(const SelectionShape &shape);
// The last region committed in nMode, as a starting region; false when there is none.
bool LastRegionOf(int nMode, SelectionSettings &settings);

// rc (normalized) cut to rcScreen: SPX_SHAPE_SET, _CLIPPED, or _DROPPED (rc left as it was).
int ClipRectToScreen(RECT &rc, const RECT &rcScreen);
