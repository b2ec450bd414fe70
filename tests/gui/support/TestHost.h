// A shown form to host controls under test, and temporary files for paths.
#pragma once

#include "TestFolder.h"

#include "Application.h"
#include "Form.h"

#include <windows.h>

#include <memory>
#include <string>

namespace guitest {

// Handles every waiting message, so that paints and notifications have run.
inline void Pump() {
    for (int round = 0; round < 3; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) gui::Application().DispatchOne(message);
    }
}

inline std::unique_ptr<gui::TForm> MakeHostForm(int clientWidth = 420, int clientHeight = 200) {
    gui::Application().Initialize();
    auto form = std::make_unique<gui::TForm>(gui::TFormParams{"test host", 40, 40, clientWidth, clientHeight});
    form->Show();
    Pump();
    return form;
}

// A folder of its own under the system's temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::string& Path() const { return path_; }
    // Creates a file (with the given content) in the folder and returns its full path.
    std::string MakeFile(const std::string& name, const std::string& content = "x") const;
    std::string MakeDir(const std::string& name) const;

private:
    TestFolder folder_;
    std::string path_;
};

}  // namespace guitest
