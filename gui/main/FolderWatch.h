// Change notifications for one folder: a file in it created, deleted,
// renamed, written, or given other times or attributes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel {

class FolderWatch {
public:
    // Starts watching; Active() tells whether the folder could be watched
    // (it may not exist, or its file system may not report changes).
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Active() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Tries again to watch a folder that could not be watched so far.
    void Retry();
    // Signalled once a change has happened since the watch was last armed.
    HANDLE Handle() const { return handle_; }
    // Arms the watch for the next change after one was seen; a folder that
    // can no longer be watched (deleted, say) is let go, so it can go.
    void Rearm();
    // Stops watching until the next Retry.
    void Close();

private:
    std::string folder_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Positions in `handles` of the signalled ones; never waits.
std::vector<std::size_t> SignalledHandles(const std::vector<HANDLE>& handles);

}  // namespace quorvel
