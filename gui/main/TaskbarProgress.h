// The progress bar of the window's taskbar button, where the system offers
// one; elsewhere it shows nothing and costs nothing.
#pragma once

#include <windows.h>

#include <memory>

#include "ComApartment.h"

struct ITaskbarList3;

namespace quorvel {

class TaskbarProgress {
public:
    explicit TaskbarProgress(HWND window);
    // The button shows no progress any more.
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    void Show(int done, int total);
    // What the button was last asked to show, and whether the system has a
    // taskbar that shows it.
    int Done() const { return done_; }
    int Total() const { return total_; }
    bool Offered() const { return taskbar_ != nullptr; }

private:
    struct Releaser {
        void operator()(ITaskbarList3* list) const;
    };
    gui::ComApartment apartment_;
    HWND window_;
    std::unique_ptr<ITaskbarList3, Releaser> taskbar_;
    int done_ = 0;
    int total_ = 0;
};

}  // namespace quorvel
