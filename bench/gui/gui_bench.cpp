// Drives the real main window over generated sites, as a user with a big
// site would: loading the list, keystrokes in the name box, clicks in the
// list, a run, and the console program's run over the same list. Prints a
// table; asserts nothing.
//
//   bench_gui <work folder> [sizes...]     (default: 2000 20000)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Application.h"
#include "DialogSeam.h"
#include "Main.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPagesPerFolder = 100;
constexpr int kSamples = 20;
constexpr int kRuns = 3;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// User and kernel time a process has used so far, in seconds.
double CpuSeconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto count = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return count(kernel) + count(user);
}

// Wall and processor seconds of one measured step.
struct Cost {
    double wall = 1e9;
    double cpu = 1e9;
    void KeepBest(const Cost& other) {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

void Put(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

// A small page with the menu region after its heading.
std::string Page(const char* menu) {
    std::string text = "<!DOCTYPE html>\r\n<html><head><title>page</title></head><body>\r\n<h1>Tea</h1>\r\n";
    text += std::string("<!-- %menu% -->\r\n<nav>") + menu + "</nav>\r\n<!-- %close menu% -->\r\n";
    for (int i = 0; i < 40; ++i) text += "<p>Green tea, lake views and quiet afternoons by the water.</p>\r\n";
    return text + "</body></html>\r\n";
}

// source.html and the pages in folders of 100; returns the list file.
std::string MakeSite(const std::string& dir, int count) {
    CreateDirectoryA(dir.c_str(), nullptr);
    Put(dir + "\\source.html", Page("<a href=\"index.html\">Home</a> | <a href=\"teas.html\">Teas</a>"));
    std::string list = "変数:menu\r\n同期ﾌｧｲﾙ:source.html\r\n[EOH]\r\n";
    const std::string page = Page("<a href=\"index.html\">Home</a>");
    for (int i = 0; i < count; ++i) {
        const std::string folder = "pages" + std::to_string(i / kPagesPerFolder);
        if (i % kPagesPerFolder == 0) CreateDirectoryA((dir + "\\" + folder).c_str(), nullptr);
        const std::string name = folder + "\\p" + std::to_string(i) + ".html";
        Put(dir + "\\" + name, page);
        list += name + "\r\n";
    }
    Put(dir + "\\site.lst", list);
    return dir + "\\site.lst";
}

// Answers the list prompt with the site's list and every box with OK.
class BenchDialogs : public gui::PlatformDialogs {
public:
    std::string listFile;
    void MessageBeep(UINT) override {}
    int ShowMessageBox(const gui::MessageBoxRequest& request) override {
        lastBox = request.Text;
        return IDOK;
    }
    bool OpenFile(const gui::OpenFileRequest&, std::vector<std::string>& files) override {
        files = {listFile};
        return true;
    }
    std::string lastBox;
};

void Pump() { gui::Application().ProcessMessages(); }

// Presses a button and handles messages until what it started is over.
double Press(quorvel::TQuorvel& window, gui::TButton& button) {
    const auto start = Clock::now();
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    Pump();
    // Sleeps until a message comes (the run's end is posted), as the message loop would.
    while (window.Executing()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        Pump();
    }
    UpdateWindow(window.Handle());
    return Seconds(start);
}

struct Spread {
    double mean = 0;
    double max = 0;
    void Add(double sample) {
        mean += sample / kSamples;
        max = std::max(max, sample);
    }
};

Spread Keystrokes(quorvel::TQuorvel& window) {
    Spread spread;
    for (int i = 0; i < kSamples; ++i) {
        const auto start = Clock::now();
        SendMessageA(window.VariableName.Handle(), WM_CHAR, i % 2 ? '\b' : 'x', 1);
        Pump();
        spread.Add(Seconds(start));
    }
    return spread;
}

Spread Clicks(quorvel::TQuorvel& window) {
    Spread spread;
    HWND list = window.FileList.Handle();
    const auto top = static_cast<WPARAM>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    for (int i = 0; i < kSamples; ++i) {
        RECT item{};
        SendMessageA(list, LB_GETITEMRECT, top + static_cast<WPARAM>(i % 8), reinterpret_cast<LPARAM>(&item));
        const LPARAM point = MAKELPARAM(item.left + 8, item.top + 3);
        const auto start = Clock::now();
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageA(list, WM_LBUTTONUP, 0, point);
        Pump();
        spread.Add(Seconds(start));
    }
    return spread;
}

Cost Run(quorvel::TQuorvel& window) {
    const double cpu = CpuSeconds(GetCurrentProcess());
    const double wall = Press(window, window.Execute);
    return {wall, CpuSeconds(GetCurrentProcess()) - cpu};
}

Cost ConsoleRun(const std::string& dir) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string program = exe;
    program = program.substr(0, program.find_last_of('\\') + 1) + "Quorvel_con.exe";
    std::string commandLine = "\"" + program + "\" --quiet site.lst";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        std::exit(1);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    const Cost cost{Seconds(start), CpuSeconds(process.hProcess)};
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (status != 0) {
        std::fprintf(stderr, "Quorvel_con failed (%lu)\n", status);
        std::exit(1);
    }
    return cost;
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_gui <work folder> [sizes...]\n");
        return 2;
    }
    const std::string root = argv[1];
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {2000, 20000};
    CreateDirectoryA(root.c_str(), nullptr);

    gui::Application().Initialize();
    gui::Application().Title = "クオーヴェル";
    BenchDialogs dialogs;
    gui::ScopedDialogs scope(dialogs);
    gui::Application().OnException = [](const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        std::exit(1);
    };

    std::printf("The real window under Wine, pages of about 3 KB in folders of %d; keystrokes and clicks: %d each.\n"
                "The run and the console's run (Quorvel_con --quiet) rewrite the same files, in turns; best of %d,\n"
                "wall time and processor time (user + kernel of the process; Wine's server not included).\n\n",
                kPagesPerFolder, kSamples, kRuns);
    std::printf("%7s | %7s | %8s %8s | %8s %8s | %7s %7s %7s | %7s %7s %7s | %7s\n", "files", "load s", "key ms",
                "key max", "click ms", "clk max", "run s", "con s", "run/con", "run cpu", "con cpu", "cpu r/c",
                "peak MB");
    for (const int count : sizes) {
        const std::string dir = root + "\\site" + std::to_string(count);
        dialogs.listFile = MakeSite(dir, count);
        SetCurrentDirectoryA(dir.c_str());

        quorvel::TQuorvel window;
        window.Show();
        Pump();
        const double load = Press(window, window.LoadList);
        if (window.FileList.Items().Count() != count) {
            std::fprintf(stderr, "the list holds %d entries, not %d\n", window.FileList.Items().Count(), count);
            return 1;
        }
        window.VariableName.SetFocus();
        const Spread keys = Keystrokes(window);
        const Spread clicks = Clicks(window);
        Cost run;
        Cost console;
        for (int rep = 0; rep < kRuns; ++rep) {
            console.KeepBest(ConsoleRun(dir));
            dialogs.lastBox.clear();
            run.KeepBest(Run(window));
            if (dialogs.lastBox != "変数は同期されました。") {
                std::fprintf(stderr, "the run did not end with its closing box\n");
                return 1;
            }
        }
        std::printf("%7d | %7.2f | %8.1f %8.1f | %8.1f %8.1f | %7.2f %7.2f %7.2f | %7.2f %7.2f %7.2f | %7.1f\n", count,
                    load, keys.mean * 1e3, keys.max * 1e3, clicks.mean * 1e3, clicks.max * 1e3, run.wall,
                    console.wall, run.wall / console.wall, run.cpu, console.cpu, run.cpu / console.cpu,
                    PeakMegabytes());
        std::fflush(stdout);
    }
    std::printf("\nGoals at 2,000 files: load <= 1 s; keystroke and click <= 100 ms; run/con <= 1.5.\n");
    return 0;
}
