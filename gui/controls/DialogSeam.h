// Every modal dialog and system sound of the GUI goes through one replaceable
// object, so tests can answer dialogs without showing them. The platform
// implementation shows the real Windows dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gui {

enum class MessageBoxButtons { Ok, YesNo };

struct MessageBoxRequest {
    HWND Owner = nullptr;
    std::string Text;
    std::string Caption;
    UINT Icon = 0;  // MB_ICONEXCLAMATION, MB_ICONHAND, MB_ICONASTERISK, MB_ICONQUESTION or 0
    MessageBoxButtons Buttons = MessageBoxButtons::Ok;
    int HelpContext = 0;
};

struct OpenFileRequest {
    HWND Owner = nullptr;
    std::string FileName;    // initial file name
    std::string InitialDir;
    std::string Filter;      // "description|pattern|description|pattern"
    std::string DefaultExt;
    std::string Title;       // empty: the platform's default title
    bool Save = false;       // save dialog instead of open dialog
    bool OverwritePrompt = false;
    bool MultiSelect = false;
    bool HideReadOnly = true;
    bool Resizable = true;
};

struct FolderBrowseRequest {
    HWND Owner = nullptr;
    std::string Instruction;
    std::string Preselect;   // empty: nothing is preselected
};

struct DirectoryChooserRequest {
    HWND Owner = nullptr;
    std::string StartDir;
};

class PlatformDialogs {
public:
    virtual ~PlatformDialogs() = default;
    virtual void MessageBeep(UINT sound);
    // Returns IDOK, IDYES, IDNO or IDCANCEL.
    virtual int ShowMessageBox(const MessageBoxRequest& request);
    // True on OK; the chosen full paths, in the dialog's order.
    virtual bool OpenFile(const OpenFileRequest& request, std::vector<std::string>& files);
    // True on OK; the chosen folder's path.
    virtual bool BrowseForFolder(const FolderBrowseRequest& request, std::string& folder);
    // True on OK; the chosen directory (it may not exist yet).
    virtual bool ChooseDirectory(const DirectoryChooserRequest& request, std::string& directory);
};

PlatformDialogs& Dialogs();

// Puts another implementation in place for the lifetime of the guard.
class ScopedDialogs {
public:
    explicit ScopedDialogs(PlatformDialogs& replacement);
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;
    ~ScopedDialogs();

private:
    PlatformDialogs* previous_;
};

}  // namespace gui
