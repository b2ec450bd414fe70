// Answers a modal window of the UI thread from a second thread: it polls the
// thread's windows until a visible one of the wanted class appears, records
// what the window showed, then presses a button or fills the file box.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace guitest {

struct SeenDialog {
    bool found = false;
    HWND window = nullptr;
    std::string caption;
    std::vector<std::string> texts;  // texts of the child windows (buttons, message) in z-order
    bool HasText(const std::string& text) const;
};

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    // Starts watching the given thread (the caller's by default) for a window
    // of the class (and the caption, unless it is empty).
    explicit DialogDriver(Action action, std::string windowClass = "#32770", std::string caption = {},
                          DWORD uiThread = GetCurrentThreadId(),
                          std::chrono::milliseconds timeout = std::chrono::seconds(20));
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver();

    // Waits for the watching thread; what it saw.
    const SeenDialog& Seen();

    static Action Press(int buttonId);
    // Types a file name into the open-file dialog's file box, then presses OK.
    static Action ChooseFile(const std::string& path);
    // Presses the first button whose caption is the text.
    static Action PressButtonWithText(const std::string& caption);

private:
    void Watch(Action action, std::string windowClass, std::string caption, DWORD uiThread,
               std::chrono::milliseconds timeout);
    SeenDialog seen_;
    std::thread watcher_;
};

// Finds a child window by class and caption (either may be null to match anything).
HWND FindDescendant(HWND parent, const char* className, const char* caption);

}  // namespace guitest
