// Pictures of the main window for people to look at: empty, with several
// files and the newest mark, with a long path shortened by an ellipsis, and
// the error box. Usage: screenshot_main <output folder>
#include <cstdio>
#include <string>

#include "Application.h"
#include "DialogDriver.h"
#include "Main.h"
#include "TestFiles.h"
#include "WindowCapture.h"

namespace {

using quorvel::test::SetModified;
using quorvel::test::WriteBytes;

void Pump() {
    for (int round = 0; round < 3; ++round) gui::Application().ProcessMessages();
}

bool Capture(HWND window, const std::string& folder, const char* name) {
    Pump();
    const std::string path = folder + "\\" + name + ".bmp";
    const bool saved = guitest::CaptureWindowToBmp(window, path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", path.c_str());
    return saved;
}

void ShowFiles(quorvel::TQuorvel& window, const std::vector<std::string>& files) {
    window.FileList.Items().Clear();
    for (const std::string& file : files) window.FileList.Items().Add(file);
    window.FileListClick(window.FileList);
    window.FileList.Repaint();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_main <output folder>\n");
        return 2;
    }
    const std::string out = argv[1];
    CreateDirectoryA(out.c_str(), nullptr);
    bool ok = true;

    gui::Application().Initialize();
    gui::Application().Title = "クオーヴェル";
    quorvel::TQuorvel window;
    window.Show();
    ok &= Capture(window.Handle(), out, "main_empty");

    quorvel::test::TempDir dir;
    const char* names[] = {"index.html", "teas.html", "visit.html", "news.html", "access.html"};
    std::vector<std::string> files;
    WORD minute = 0;
    for (const char* name : names) {
        files.push_back(dir.File(name));
        WriteBytes(files.back(), "<!-- %menu% -->\r\n<!-- %close menu% -->\r\n");
        SetModified(files.back(), 2026, 4, 1, 10, (minute += 7) % 60, 0);
    }
    SetModified(files[1], 2026, 4, 2, 9, 30, 0);  // the newest
    window.VariableName.SetText("menu");
    window.MainFile.SetText(files[0]);
    ShowFiles(window, files);
    window.FileList.SetSelected(3, true);
    window.VariableName.SetFocus();
    ok &= Capture(window.Handle(), out, "main_files");

    std::string longPath = "C:\\Users\\hanako\\Documents\\ホームページ\\2026年度\\お茶のお店\\公開用\\";
    longPath += "季節のお知らせ\\menu_spring_limited.html";
    files.insert(files.begin(), longPath);
    ShowFiles(window, files);
    ok &= Capture(window.Handle(), out, "main_long_path");

    // The error box of a failed run: the source holds no region of the name.
    window.VariableName.SetText("footer");
    {
        const std::string picture = out + "\\main_error_box.bmp";
        guitest::DialogDriver driver([picture](HWND box) {
            Sleep(300);  // let the box paint itself
            guitest::CaptureWindowToBmp(box, picture);
            guitest::DialogDriver::Press(IDOK)(box);
        });
        SendMessageA(window.Execute.Handle(), BM_CLICK, 0, 0);
        ok &= driver.Seen().found;
        std::printf("%s %s\n", driver.Seen().found ? "saved" : "FAILED", picture.c_str());
    }
    return ok ? 0 : 1;
}
