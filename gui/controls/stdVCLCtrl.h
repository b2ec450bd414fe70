// Editing helpers for a list box's entries.
#pragma once

#include "ListBox.h"

namespace gui {

// Exchanges the current entry with the one Delta places away (wrapped or
// clamped to the list); the moved entry stays the current one.
void MoveListItem(TListBox& list, int delta, bool wrap);
// Deletes the selected entries and puts the current position back where it was.
void DeleteSelectedItems(TListBox& list);
// The current entry's text, or an empty string when there is no current entry.
std::string CurrentItemText(TListBox& list);

}  // namespace gui
