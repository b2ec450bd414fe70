#include "BackgroundSync.h"

#include "SyncUnit.h"

namespace quorvel {
namespace {

// The run whose thread this is; the engine's hook carries no context.
thread_local BackgroundSync* currentRun = nullptr;

void ReportProgress(const std::string& /*fileName*/, const std::string& /*command*/, std::int32_t index) {
    if (currentRun) currentRun->Progress(index);
}

}  // namespace

void BackgroundSync::RunEngine(const std::string& variableName, const std::string& sourceFile, const TStrings& files) {
    SyncVariable(variableName, sourceFile, files, false);
}

BackgroundSync::BackgroundSync(HWND window, UINT progressMessage, UINT doneMessage)
    : window_(window), progressMessage_(progressMessage), doneMessage_(doneMessage) {}

BackgroundSync::~BackgroundSync() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundSync::Start(Engine engine, std::string variableName, std::string sourceFile, TStringList files) {
    filesListed_ = files.Count();
    filesDone_ = 0;
    progressPosted_ = false;
    lastProgressPost_ = 0;
    error_ = nullptr;
    thread_ = std::thread([this, engine = std::move(engine), variableName = std::move(variableName),
                           sourceFile = std::move(sourceFile), files = std::move(files)] {
        currentRun = this;
        OnSyncProgress = &ReportProgress;
        try {
            engine(variableName, sourceFile, files);
        } catch (...) {
            error_ = std::current_exception();
        }
        OnSyncProgress = nullptr;
        currentRun = nullptr;
        PostMessageA(window_, doneMessage_, 0, 0);
    });
}

void BackgroundSync::Progress(int index) {
    // The hook comes before each file; the entries above it are done.
    if (index < 0) return;
    filesDone_ = index;
    // Each post costs the run a call into the system; the bar needs few.
    const ULONGLONG now = GetTickCount64();
    if (now - lastProgressPost_ < kProgressInterval || progressPosted_.exchange(true)) return;
    lastProgressPost_ = now;
    PostMessageA(window_, progressMessage_, 0, 0);
}

int BackgroundSync::TakeFilesDone() {
    progressPosted_ = false;
    return filesDone_;
}

std::exception_ptr BackgroundSync::Finish() {
    if (thread_.joinable()) thread_.join();
    filesDone_ = filesListed_;
    return error_;
}

}  // namespace quorvel
