// A dialog implementation for tests: records every request and answers from a script.
#pragma once

#include "DialogSeam.h"

#include <functional>
#include <string>
#include <vector>

namespace guitest {

class RecordingDialogs : public gui::PlatformDialogs {
public:
    std::vector<UINT> beeps;
    std::vector<gui::MessageBoxRequest> boxes;
    std::vector<gui::OpenFileRequest> openFiles;
    std::vector<gui::FolderBrowseRequest> folders;
    std::vector<gui::DirectoryChooserRequest> chooserRequests;

    int boxAnswer = IDOK;
    // Empty: the dialog is cancelled.
    std::vector<std::string> fileAnswer;
    std::string folderAnswer;
    bool folderCancelled = false;
    std::string directoryAnswer;
    bool directoryCancelled = false;
    // Runs inside a dialog, as the real dialogs might (for example changing the current directory).
    std::function<void()> whileOpen;

    int DialogCount() const {
        return static_cast<int>(boxes.size() + openFiles.size() + folders.size() + chooserRequests.size());
    }

    void MessageBeep(UINT sound) override { beeps.push_back(sound); }
    int ShowMessageBox(const gui::MessageBoxRequest& request) override {
        boxes.push_back(request);
        if (whileOpen) whileOpen();
        return boxAnswer;
    }
    bool OpenFile(const gui::OpenFileRequest& request, std::vector<std::string>& files) override {
        openFiles.push_back(request);
        if (whileOpen) whileOpen();
        files = fileAnswer;
        return !files.empty();
    }
    bool BrowseForFolder(const gui::FolderBrowseRequest& request, std::string& folder) override {
        folders.push_back(request);
        if (whileOpen) whileOpen();
        folder = folderAnswer;
        return !folderCancelled;
    }
    bool ChooseDirectory(const gui::DirectoryChooserRequest& request, std::string& directory) override {
        chooserRequests.push_back(request);
        if (whileOpen) whileOpen();
        directory = directoryAnswer;
        return !directoryCancelled;
    }
};

}  // namespace guitest
