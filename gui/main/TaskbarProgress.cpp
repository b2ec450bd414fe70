#include "TaskbarProgress.h"

#include <shobjidl.h>

namespace quorvel {

void TaskbarProgress::Releaser::operator()(ITaskbarList3* list) const { list->Release(); }

TaskbarProgress::TaskbarProgress(HWND window) : window_(window) {
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar))) ||
        !taskbar) {
        return;
    }
    taskbar_.reset(taskbar);
    if (FAILED(taskbar_->HrInit())) taskbar_.reset();
}

TaskbarProgress::~TaskbarProgress() {
    if (taskbar_) taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
}

void TaskbarProgress::Show(int done, int total) {
    done_ = done;
    total_ = total;
    if (!taskbar_ || total <= 0) return;
    taskbar_->SetProgressValue(window_, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(total));
}

}  // namespace quorvel
