#include "NewestEntryTracker.h"

#include <windows.h>

#include <algorithm>

#include "Platform.h"

namespace quorvel {
namespace {

// The folder a name lies in, as the file system would resolve it now.
std::string FolderOf(const std::string& name) {
    const DWORD needed = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::string();
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return std::string();
    full.resize(length);
    return platform::ExtractFilePath(full);
}

}  // namespace

void NewestEntryTracker::ItemInserted(int index, const std::string& text) {
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(entries_.size())));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), Entry{text});
}

void NewestEntryTracker::ItemDeleted(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    Release(entries_[static_cast<std::size_t>(index)]);
    entries_.erase(entries_.begin() + index);
}

void NewestEntryTracker::ItemsCleared() {
    for (Entry& entry : entries_) Release(entry);
    entries_.clear();
}

int NewestEntryTracker::NewestIndex() {
    FollowCurrentDirectory();
    for (Entry& entry : entries_)
        if (!entry.folder) Attach(entry);
    RefreshFolders();

    int newest = 0;
    bool found = false;
    std::int64_t newestTime = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Entry& entry = entries_[i];
        if (entry.readGeneration != entry.folder->generation) {
            entry.exists = platform::FileWriteTime(entry.name, entry.time);
            entry.readGeneration = entry.folder->generation;
        }
        // Strictly newer wins, so of equal times the one nearer the top stays.
        if (entry.exists && (!found || entry.time > newestTime)) {
            found = true;
            newestTime = entry.time;
            newest = static_cast<int>(i);
        }
    }
    return newest;
}

void NewestEntryTracker::ForgetTimes() {
    for (auto& [path, folder] : folders_) {
        folder->watch.Close();
        ++folder->generation;
    }
}

void NewestEntryTracker::FollowCurrentDirectory() {
    const std::string dir = platform::GetCurrentDir();
    if (dir == currentDir_) return;
    currentDir_ = dir;
    for (Entry& entry : entries_) Release(entry);
}

void NewestEntryTracker::Attach(Entry& entry) {
    const std::string path = FolderOf(entry.name);
    auto& folder = folders_[path];
    if (!folder) folder = std::make_unique<Folder>(path);
    ++folder->users;
    entry.folder = folder.get();
    entry.readGeneration = 0;
}

void NewestEntryTracker::Release(Entry& entry) {
    Folder* folder = entry.folder;
    entry.folder = nullptr;
    if (folder && --folder->users == 0) {
        const std::string path = folder->path;  // the key must outlive the folder it names
        folders_.erase(path);
    }
}

void NewestEntryTracker::RefreshFolders() {
    std::vector<HANDLE> handles;
    std::vector<Folder*> watched;
    for (auto& [path, folder] : folders_) {
        if (folder->watch.Active()) {
            handles.push_back(folder->watch.Handle());
            watched.push_back(folder.get());
            continue;
        }
        // Not watched (yet): what is in it may have changed at any time.
        folder->watch.Retry();
        ++folder->generation;
    }
    // Armed again before the times are read, so that a change made while
    // they are read is seen next time.
    for (const std::size_t i : SignalledHandles(handles)) {
        watched[i]->watch.Rearm();
        ++watched[i]->generation;
    }
}

}  // namespace quorvel
