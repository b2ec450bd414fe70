#include "MainStrings.h"

#include <windows.h>

#include "../resources/MainResourceIds.h"
#include "Exceptions.h"

namespace quorvel {

std::string LoadMainString(MainString id) {
    const UINT resource = id == MainString::ListDefaultExt ? IDS_LIST_DEFAULT_EXT : IDS_LIST_FILTER;
    char buffer[512];
    const int length = LoadStringA(GetModuleHandleA(nullptr), resource, buffer, sizeof buffer);
    if (length <= 0) throw Exception("string resource " + std::to_string(resource) + " is missing");
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace quorvel
