// Where the selection goes when entries leave the list while the switcher is
// shown. Portable.
#pragma once

// The selected index after removedBefore entries in front of the selection left
// the list and remaining entries are left. A selection that stays keeps its
// entry; a removed selection moves to the entry that took its place, or to the
// last one when it was last. -1 when nothing is left.
int SelectionAfterRemoval(int selectedIndex, int removedBefore, int remaining);
