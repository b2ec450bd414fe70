// One synchronisation run on a thread of its own, so that the window keeps
// painting and answering while it works. Until the run ends, the engine's
// globals (the shared pattern object, the progress hook) belong to that
// thread; the window calls nothing that uses them meanwhile.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <string>
#include <thread>

#include "Strings.h"

namespace quorvel {

class BackgroundSync {
public:
    using Engine = std::function<void(const std::string& variableName, const std::string& sourceFile,
                                      const TStrings& files)>;
    // The window's run: the engine without backup copies.
    static void RunEngine(const std::string& variableName, const std::string& sourceFile, const TStrings& files);

    // Progress and the end of the run are posted to the window as these
    // messages; progress at most every kProgressInterval milliseconds.
    static constexpr unsigned kProgressInterval = 50;
    BackgroundSync(HWND window, UINT progressMessage, UINT doneMessage);
    // Waits for a run that still works.
    ~BackgroundSync();
    BackgroundSync(const BackgroundSync&) = delete;
    BackgroundSync& operator=(const BackgroundSync&) = delete;

    void Start(Engine engine, std::string variableName, std::string sourceFile, TStringList files);
    // Files done at the last progress report; the next report may be
    // posted once this has been read.
    int TakeFilesDone();
    int FilesListed() const { return filesListed_; }
    // After the end message: waits for the thread; the run's error, if any.
    std::exception_ptr Finish();

    // Called by the engine's progress hook on the run's thread.
    void Progress(int index);

private:
    HWND window_;
    UINT progressMessage_;
    UINT doneMessage_;
    int filesListed_ = 0;
    std::atomic<int> filesDone_{0};
    std::atomic<bool> progressPosted_{false};
    ULONGLONG lastProgressPost_ = 0;  // the run's thread only
    std::exception_ptr error_;
    std::thread thread_;
};

}  // namespace quorvel
