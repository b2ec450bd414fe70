#include "DroppedFiles.h"

#include <shellapi.h>

namespace gui {
namespace {

class DropReleaser {
public:
    explicit DropReleaser(HDROP drop) : drop_(drop) {}
    DropReleaser(const DropReleaser&) = delete;
    DropReleaser& operator=(const DropReleaser&) = delete;
    ~DropReleaser() { DragFinish(drop_); }

private:
    HDROP drop_;
};

}  // namespace

std::vector<std::string> TakeDroppedFiles(HDROP drop) {
    DropReleaser release(drop);
    std::vector<std::string> files;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string name(length + 1, '\0');
        const UINT copied = DragQueryFileA(drop, i, name.data(), length + 1);
        name.resize(copied);
        if (!name.empty()) files.push_back(std::move(name));
    }
    return files;
}

}  // namespace gui
