// The newest index of the file list, kept without reading every file's time
// on every keystroke: each entry's last-write time is remembered, and
// forgotten when the entry changes, when the current folder changes (which
// moves relative entries), or when its folder reports a change. A folder
// that cannot be watched has its entries' times read afresh every time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FolderWatch.h"
#include "ListBox.h"

namespace quorvel {

class NewestEntryTracker : public gui::TListItemsObserver {
public:
    // Mirrors the list it observes.
    void ItemInserted(int index, const std::string& text) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;

    // What FindNewestFile returns for the entries now: the first entry with
    // the latest last-write time among the existing files, or 0.
    int NewestIndex();

    // For a run, which rewrites the listed files anyway: the folders are no
    // longer watched, and every time is read afresh at the next NewestIndex.
    void ForgetTimes();

private:
    struct Folder {
        explicit Folder(const std::string& folderPath) : path(folderPath), watch(folderPath) {}
        std::string path;
        FolderWatch watch;
        std::uint64_t generation = 1;  // grows at every change seen
        int users = 0;
    };
    struct Entry {
        std::string name;
        Folder* folder = nullptr;  // null until resolved against the current folder
        std::uint64_t readGeneration = 0;
        bool exists = false;
        std::int64_t time = 0;
    };

    void FollowCurrentDirectory();
    void Attach(Entry& entry);
    void Release(Entry& entry);
    void RefreshFolders();

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::unique_ptr<Folder>> folders_;
    std::string currentDir_;
};

}  // namespace quorvel
