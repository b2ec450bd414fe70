#include "ConsoleMain.h"

#include <new>

#include "ConsoleIO.h"
#include "ConsoleOptions.h"
#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "PrintProgress.h"
#include "SyncOptions.h"
#include "SyncUnit.h"
#include "UnifiedDiff.h"

namespace {

// Exit statuses of the runs that only compare (the diff and cmp convention).
constexpr int kInAgreement = 0;
constexpr int kDiffering = 1;
constexpr int kCompareError = 2;

// A name that exists as written is used as it is; otherwise it counts from
// the program's folder.
std::string ResolveListFileName(const std::string& argument) {
  if (platform::FileExists(argument)) return argument;
  return platform::ExpandFileName(argument, AppDir);
}

// Prints each target whose region differs (--check) or what would change
// in it (--diff), and remembers whether anything differs.
class ComparisonPrinter {
 public:
  explicit ComparisonPrinter(const ConsoleOptions& options) : options_(options) {}
  void operator()(const TTargetOutcome& outcome) {
    if (options_.diff) {
      const std::string diff = UnifiedDiff(outcome.fileName, outcome.oldBytes, outcome.newBytes, platform::kLineBreak);
      if (diff.empty()) return;
      differs_ = true;
      if (!options_.quiet) WriteBytes(diff);
    } else if (outcome.regionDiffers) {
      differs_ = true;
      if (!options_.quiet) {
        WriteLine(outcome.fileName);
        FlushOutput();
      }
    }
  }
  bool Differs() const { return differs_; }

 private:
  const ConsoleOptions& options_;
  bool differs_ = false;
};

// Runs steps up to the closing text and returns the exit status; an empty
// answer to the prompt ends the run quietly.
int Run(const ConsoleOptions& options) {
  if (options.help) {
    WriteText(HelpText(UserHelpLanguage()));
    FlushOutput();
    return 0;
  }
  if (options.version) {
    WriteLine("Quorvel_con " QUORVEL_VERSION);
    FlushOutput();
    return 0;
  }
  const std::vector<std::string>& arguments = options.arguments;
  if (arguments.empty()) {
    // Before the error text, which ends without a line break.
    WriteToStandardError(UsageHint(UserHelpLanguage()));
    throw Exception("ファイルを指定してください。");
  }
  TStringList fileList;
  const std::string listFileName = ResolveListFileName(arguments[0]);
  std::string variableName;
  std::string sourceFileName;
  LoadSyncList(listFileName, variableName, sourceFileName, fileList);

  if (variableName.empty()) {
    if (arguments.size() >= 2) {
      variableName = arguments[1];
    } else {
      WriteLine("変数名を入力してください。");
      FlushOutput();
      ReadLine(variableName);
      if (variableName.empty()) return 0;
    }
  }

  if (!platform::FileExists(sourceFileName)) sourceFileName = fileList.Get(FindNewestFile(fileList));

  // Without options this is the plain run, printing as it always has.
  TSyncOptions syncOptions;
  syncOptions.dryRun = options.Compares();
  syncOptions.regionsOnly = !options.diff;
  syncOptions.strict = options.strict;
  syncOptions.keepLineBreaks = options.keepLineBreaks;
  syncOptions.atomic = options.atomic;
  syncOptions.skipUnchanged = options.skipUnchanged;
  if (!options.quiet && !options.Compares()) OnSyncProgress = PrintProgress;
  ComparisonPrinter printer(options);
  SyncVariableWithOptions(variableName, sourceFileName, fileList, syncOptions, [&](const TTargetOutcome& outcome) {
    if (options.Compares()) printer(outcome);
  });
  if (options.Compares()) return printer.Differs() ? kDiffering : kInAgreement;
  if (options.quiet) return 0;
  WriteText("終了しました。");
  FlushOutput();
  return 0;
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
  ConsoleOptions options;
  try {
    options = ParseOptions(argc, argv);
    return Run(options);
  } catch (const EOptionError& error) {
    PrintError(error.ClassName(), error.Message());
    return kCompareError;
  } catch (const Exception& error) {
    // A stop asked for shows as such, whatever it interrupted (a wait for
    // input ends in a read error, for instance).
    if (platform::InterruptSignal() != 0) {
      const EAbort abort;
      PrintError(abort.ClassName(), abort.Message());
      platform::ExitForInterrupt(options.Compares() ? kCompareError : 1);
    }
    PrintError(error.ClassName(), error.Message());
  } catch (const std::bad_alloc&) {
    PrintError("EOutOfMemory", "メモリが不足しています");
  }
  return options.Compares() ? kCompareError : 1;
}
