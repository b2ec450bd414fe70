#include "DialogDriver.h"

#include <algorithm>

namespace guitest {
namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13

std::string WindowText(HWND window) {
    char text[1024] = {};
    // WM_GETTEXT through SendMessageTimeout: the UI thread is in the dialog's loop and answers.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct Search {
    std::string windowClass;
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (IsWindowVisible(window) && ClassOf(window) == search->windowClass &&
        (search->caption.empty() || WindowText(window) == search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectTexts(HWND window, LPARAM data) {
    auto* texts = reinterpret_cast<std::vector<std::string>*>(data);
    std::string text = WindowText(window);
    if (!text.empty()) texts->push_back(text);
    return TRUE;
}

struct Query {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchQuery(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<Query*>(data);
    if (query->className && lstrcmpiA(ClassOf(window).c_str(), query->className) != 0) return TRUE;
    if (query->caption && WindowText(window) != query->caption) return TRUE;
    query->found = window;
    return FALSE;
}

}  // namespace

bool SeenDialog::HasText(const std::string& text) const {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

DialogDriver::DialogDriver(Action action, std::string windowClass, std::string caption, DWORD uiThread,
                           std::chrono::milliseconds timeout)
    : watcher_(&DialogDriver::Watch, this, std::move(action), std::move(windowClass), std::move(caption), uiThread,
               timeout) {}

DialogDriver::~DialogDriver() {
    if (watcher_.joinable()) watcher_.join();
}

const SeenDialog& DialogDriver::Seen() {
    if (watcher_.joinable()) watcher_.join();
    return seen_;
}

void DialogDriver::Watch(Action action, std::string windowClass, std::string caption, DWORD uiThread,
                         std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        Search search{windowClass, caption};
        EnumThreadWindows(uiThread, &FindVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // Give the window a moment to finish its initialisation (captions, selection).
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            seen_.found = true;
            seen_.window = search.found;
            seen_.caption = WindowText(search.found);
            EnumChildWindows(search.found, &CollectTexts, reinterpret_cast<LPARAM>(&seen_.texts));
            if (action) action(search.found);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

DialogDriver::Action DialogDriver::Press(int buttonId) {
    return [buttonId](HWND dialog) {
        HWND button = GetDlgItem(dialog, buttonId);
        if (button) PostMessageA(button, BM_CLICK, 0, 0);
        else PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    };
}

DialogDriver::Action DialogDriver::ChooseFile(const std::string& path) {
    return [path](HWND dialog) {
        HWND box = GetDlgItem(dialog, kFileNameBox);
        if (!box) box = FindDescendant(dialog, "Edit", nullptr);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 2000, &ignored);
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    };
}

DialogDriver::Action DialogDriver::PressButtonWithText(const std::string& caption) {
    return [caption](HWND dialog) {
        if (HWND button = FindDescendant(dialog, "Button", caption.c_str())) PostMessageA(button, BM_CLICK, 0, 0);
    };
}

HWND FindDescendant(HWND parent, const char* className, const char* caption) {
    Query query{className, caption, nullptr};
    EnumChildWindows(parent, &MatchQuery, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

}  // namespace guitest
