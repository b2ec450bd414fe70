#include "ConsoleMain.h"

#include <new>

#include "ConsoleIO.h"
#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "PrintProgress.h"
#include "SyncUnit.h"

namespace {

// A name that exists as written is used as it is; otherwise it counts from
// the program's folder.
std::string ResolveListFileName(const std::string& argument) {
  if (platform::FileExists(argument)) return argument;
  return platform::ExpandFileName(argument, AppDir);
}

// Runs steps up to the closing text; an empty answer to the prompt ends
// the run quietly.
void Run(int argc, char** argv) {
  if (argc < 2) throw Exception("ファイルを指定してください。");
  TStringList fileList;
  const std::string listFileName = ResolveListFileName(argv[1]);
  std::string variableName;
  std::string sourceFileName;
  LoadSyncList(listFileName, variableName, sourceFileName, fileList);

  if (variableName.empty()) {
    if (argc >= 3) {
      variableName = argv[2];
    } else {
      WriteLine("変数名を入力してください。");
      FlushOutput();
      ReadLine(variableName);
      if (variableName.empty()) return;
    }
  }

  if (!platform::FileExists(sourceFileName)) sourceFileName = fileList.Get(FindNewestFile(fileList));

  OnSyncProgress = PrintProgress;
  SyncVariable(variableName, sourceFileName, fileList, false);
  WriteText("終了しました。");
  FlushOutput();
}

void PrintError(const char* className, const std::string& message) {
  try {
    WriteText(Format("%sｴﾗｰ:%s", {std::string(className), message}));
    FlushOutput();
  } catch (const Exception&) {
    // Nowhere left to report it; the exit status still tells.
  }
}

}  // namespace

int RunConsole(int argc, char** argv) {
  platform::CatchInterrupts();
  try {
    Run(argc, argv);
    return 0;
  } catch (const Exception& error) {
    // A stop asked for shows as such, whatever it interrupted (a wait for
    // input ends in a read error, for instance).
    if (platform::InterruptSignal() != 0) {
      const EAbort abort;
      PrintError(abort.ClassName(), abort.Message());
      platform::ExitForInterrupt(1);
    }
    PrintError(error.ClassName(), error.Message());
  } catch (const std::bad_alloc&) {
    PrintError("EOutOfMemory", "メモリが不足しています");
  }
  return 1;
}
