// Where the selection goes when entries leave the list while the switcher is
// shown. Portable.
#pragma once

// The selected index after removedBefore entries in front of the selection left
// the list and remaining entries are left. A selection that stays keeps its
// entry; a removed selection moves to the entry that took its place, or to the
// last one when it was last. -1 when nothing is left.
int SelectionAfterRemoval(int selectedIndex, int removedBefore, int remaining);

// The closed-window watch asks about this many entries at each look, in turns over
// the list, besides the selected one: asking whether a window still exists takes
// the system a question per window of another program, and a look at every entry
// of a long list would make each look, and the keys waiting behind it, slower.
constexpr int WATCH_TURN_ENTRIES = 16;
// Whether the look that starts at entry first, of count entries, asks about entry
// index: WATCH_TURN_ENTRIES entries from first on, round past the end; every
// entry of a list that short.
bool AskedInWatchTurn(int index, int first, int count);
// Where the look after the one that started at first starts, when count entries
// are left; 0 for an empty list.
int NextWatchTurn(int first, int count);
