#include "DialogSeam.h"

#include "ComApartment.h"
#include "DialogText.h"
#include "DirectoryChooser.h"
#include "MessageBoxWithCaptions.h"

#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace gui {
namespace {

PlatformDialogs* replacement = nullptr;

class ErrorModeGuard {
public:
    explicit ErrorModeGuard(UINT mode) : previous_(SetErrorMode(mode)) {}
    ErrorModeGuard(const ErrorModeGuard&) = delete;
    ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;
    ~ErrorModeGuard() { SetErrorMode(previous_); }

private:
    UINT previous_;
};

// Disables the thread's other enabled top-level windows until it ends.
class ThreadWindowsDisabled {
public:
    ThreadWindowsDisabled() {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&windows_));
        for (HWND window : windows_) EnableWindow(window, FALSE);
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
    ~ThreadWindowsDisabled() {
        for (HWND window : windows_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
    }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM list) {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    }
    std::vector<HWND> windows_;
};

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

struct PidlDeleter {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

}  // namespace

void PlatformDialogs::MessageBeep(UINT sound) { ::MessageBeep(sound); }

int PlatformDialogs::ShowMessageBox(const MessageBoxRequest& request) { return ShowMessageBoxWithCaptions(request); }

bool PlatformDialogs::OpenFile(const OpenFileRequest& request, std::vector<std::string>& files) {
    std::string filter = FilterForDialog(request.Filter);
    std::vector<char> buffer(request.MultiSelect ? 65536 : MAX_PATH * 4, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        if (attempt == 0) request.FileName.copy(buffer.data(), buffer.size() - 2);
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = request.Owner;
        dialog.lpstrFilter = request.Filter.empty() ? nullptr : filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrInitialDir = request.InitialDir.empty() ? nullptr : request.InitialDir.c_str();
        dialog.lpstrTitle = request.Title.empty() ? nullptr : request.Title.c_str();
        dialog.lpstrDefExt = request.DefaultExt.empty() ? nullptr : request.DefaultExt.c_str();
        dialog.Flags = OFN_EXPLORER;
        if (request.HideReadOnly) dialog.Flags |= OFN_HIDEREADONLY;
        if (request.Resizable) dialog.Flags |= OFN_ENABLESIZING;
        if (request.MultiSelect) dialog.Flags |= OFN_ALLOWMULTISELECT;
        if (request.OverwritePrompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
        BOOL chosen = request.Save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
        if (chosen) {
            files = SplitChosenFiles(buffer, request.MultiSelect);
            return !files.empty();
        }
        // An initial name the dialog cannot take (too long, invalid) must not
        // keep the dialog from opening: try once more without it.
        DWORD error = CommDlgExtendedError();
        if (error != FNERR_INVALIDFILENAME && error != FNERR_BUFFERTOOSMALL) return false;
    }
    return false;
}

bool PlatformDialogs::BrowseForFolder(const FolderBrowseRequest& request, std::string& folder) {
    ComApartment apartment;
    ThreadWindowsDisabled disabled;
    ErrorModeGuard errorMode(SEM_FAILCRITICALERRORS);
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = request.Owner;
    info.pszDisplayName = display;
    info.lpszTitle = request.Instruction.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallback;
    info.lParam = request.Preselect.empty() ? 0 : reinterpret_cast<LPARAM>(request.Preselect.c_str());
    std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(SHBrowseForFolderA(&info));
    if (!chosen) return false;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(chosen.get(), path)) return false;
    folder = path;
    return true;
}

bool PlatformDialogs::ChooseDirectory(const DirectoryChooserRequest& request, std::string& directory) {
    return RunDirectoryChooser(request, directory);
}

PlatformDialogs& Dialogs() {
    static PlatformDialogs platform;
    return replacement ? *replacement : platform;
}

ScopedDialogs::ScopedDialogs(PlatformDialogs& dialogs) : previous_(replacement) { replacement = &dialogs; }
ScopedDialogs::~ScopedDialogs() { replacement = previous_; }

}  // namespace gui
