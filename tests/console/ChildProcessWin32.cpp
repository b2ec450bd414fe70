#include <windows.h>

#include <stdexcept>

#include "ChildProcess.h"

namespace {

class Handle {
 public:
  Handle() = default;
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE* Address() { return &handle_; }
  HANDLE get() const { return handle_; }
  void Close() {
    if (handle_) ::CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

std::string Quote(const std::string& argument) { return "\"" + argument + "\""; }

}  // namespace

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                     const std::string& workingDir) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  Handle inRead, inWrite, outRead, outWrite;
  if (!::CreatePipe(inRead.Address(), inWrite.Address(), &inherit, 0) ||
      !::CreatePipe(outRead.Address(), outWrite.Address(), &inherit, 0))
    throw std::runtime_error("CreatePipe failed");
  // Standard error goes to a file, read once the child has ended: two
  // pipes read one after the other could fill and block the child.
  char errorsName[MAX_PATH], tempDir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tempDir);
  ::GetTempFileNameA(tempDir, "err", 0, errorsName);
  Handle errorsFile;
  *errorsFile.Address() = ::CreateFileA(errorsName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        &inherit, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (errorsFile.get() == INVALID_HANDLE_VALUE) throw std::runtime_error("no file for standard error");
  ::SetHandleInformation(inWrite.get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);

  std::string commandLine = Quote(program);
  for (const std::string& argument : arguments) commandLine += " " + Quote(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead.get();
  startup.hStdOutput = outWrite.get();
  startup.hStdError = errorsFile.get();
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, workingDir.c_str(),
                        &startup, &process))
    throw std::runtime_error("CreateProcess failed: " + program);
  Handle processHandle, threadHandle;
  *processHandle.Address() = process.hProcess;
  *threadHandle.Address() = process.hThread;
  inRead.Close();
  outWrite.Close();

  DWORD written = 0;
  if (!input.empty()) ::WriteFile(inWrite.get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
  inWrite.Close();
  ChildResult result;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(outRead.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) result.output.append(buffer, got);
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(processHandle.get(), &code);
  result.exitCode = static_cast<int>(code);
  ::SetFilePointer(errorsFile.get(), 0, nullptr, FILE_BEGIN);
  while (::ReadFile(errorsFile.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) result.errors.append(buffer, got);
  return result;
}
