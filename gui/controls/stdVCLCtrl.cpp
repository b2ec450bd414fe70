#include "stdVCLCtrl.h"

#include "FitToRange.h"

#include <cstdint>

namespace gui {

void MoveListItem(TListBox& list, int delta, bool wrap) {
    const int count = list.Items().Count();
    const int current = list.ItemIndex();
    // The sum is formed in 64 bits so that an extreme delta cannot overflow.
    const std::int64_t wanted = std::int64_t{current} + delta;
    int target;
    if (wanted >= INT32_MIN && wanted <= INT32_MAX) target = FitToRange(static_cast<std::int32_t>(wanted), 0, count - 1, wrap);
    else if (count <= 1) target = 0;
    else if (wrap) target = static_cast<int>((wanted % count + count) % count);
    else target = wanted > 0 ? count - 1 : 0;
    list.Items().Exchange(current, target);
}

void DeleteSelectedItems(TListBox& list) {
    const int current = list.ItemIndex();
    list.DeleteSelected();
    list.SetItemIndex(current);
}

std::string CurrentItemText(TListBox& list) {
    const int current = list.ItemIndex();
    if (current == -1) return {};
    return list.Items().Get(current);
}

}  // namespace gui
