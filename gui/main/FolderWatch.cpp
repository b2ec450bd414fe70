#include "FolderWatch.h"

#include <algorithm>

namespace quorvel {
namespace {

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_ATTRIBUTES |
                           FILE_NOTIFY_CHANGE_CREATION;

}  // namespace

FolderWatch::FolderWatch(const std::string& folder) : folder_(folder) { Retry(); }

FolderWatch::~FolderWatch() { Close(); }

void FolderWatch::Retry() {
    if (Active() || folder_.empty()) return;
    handle_ = FindFirstChangeNotificationA(folder_.c_str(), FALSE, kChanges);
}

void FolderWatch::Rearm() {
    if (Active() && !FindNextChangeNotification(handle_)) Close();
}

void FolderWatch::Close() {
    if (Active()) FindCloseChangeNotification(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

std::vector<std::size_t> SignalledHandles(const std::vector<HANDLE>& handles) {
    // One wait looks at up to 64 handles and names the first signalled one;
    // the search goes on after it.
    std::vector<std::size_t> signalled;
    std::size_t start = 0;
    while (start < handles.size()) {
        const auto count = static_cast<DWORD>(std::min<std::size_t>(handles.size() - start, MAXIMUM_WAIT_OBJECTS));
        const DWORD result = WaitForMultipleObjects(count, handles.data() + start, FALSE, 0);
        if (result < WAIT_OBJECT_0 + count) {
            const std::size_t found = start + (result - WAIT_OBJECT_0);
            signalled.push_back(found);
            start = found + 1;
        } else {
            start += count;
        }
    }
    return signalled;
}

}  // namespace quorvel
