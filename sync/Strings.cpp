#include "Strings.h"

#include "Exceptions.h"

std::string TStringList::Get(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return items_[static_cast<std::size_t>(index)];
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  items_.erase(items_.begin() + index);
}
