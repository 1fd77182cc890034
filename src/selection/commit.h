// What the host is posted when a selection is committed.
#pragma once

// Stores rcSelection; note the order of the arguments.
void SetSelectionRect(int nTop, int nBottom, int nLeft, int nRight);

// Posts UM_SELECTION with the address of rcSelection: a rectangle, an ellipse or a click is
// committed. The cursor state goes back to CS_DEFAULT and nothing counts as shown.
void CommitSelectionRect();

// Posts UM_SELECTION with the address of the host's shape: a polygon is committed.
void CommitPolygon();
