#include "ConsoleMain.h"

#include <new>
#include <stdexcept>

#include "ComparisonPrinter.h"
#include "ConsoleIO.h"
#include "ConsoleOptions.h"
#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "PrintProgress.h"
#include "SyncOptions.h"
#include "SyncUnit.h"
#include "TargetList.h"
#include "TargetProblems.h"

namespace {

// Exit statuses of the runs that only compare (the diff and cmp convention).
constexpr int kInAgreement = 0;
constexpr int kDiffering = 1;
constexpr int kCompareError = 2;

// A check or strict run over a list that names no file would pass having
// checked nothing: an error with the compare runs' status in every mode.
class EEmptyCheck : public Exception {
 public:
  using Exception::Exception;
};

struct ListFile {
  std::string name;
  std::string baseFolder;  // where its relative names count from ("" for the current folder)
};

// A name that exists as written is used as it is, and its relative names
// count from the current folder; otherwise it counts from the program's
// folder, and so do its relative names: a look-alike folder where the
// program happens to be started must never be rewritten instead.
ListFile ResolveListFile(const std::string& argument) {
  if (platform::FileExists(argument)) return {argument, std::string()};
  const std::string expanded = platform::ExpandFileName(argument, AppDir);
  return {expanded, platform::ExtractFilePath(expanded)};
}

// Settles the variable name from the list, the command line or the prompt;
// false for an empty answer to the prompt in a run that may end quietly.
bool SettleVariableName(const ConsoleOptions& options, const std::string& listName, std::string& variableName) {
  const std::vector<std::string>& arguments = options.arguments;
  if (!variableName.empty()) {
    // A different name on the command line would otherwise be ignored and
    // the list's variable synchronised instead.
    if (arguments.size() >= 2 && !arguments[1].empty() && arguments[1] != variableName)
      throw Exception(Format("リスト %s の変数 %s と、指定された変数 %s が違います", {ShortenedName(listName), variableName, ShortenedName(arguments[1])}));
    return true;
  }
  if (arguments.size() >= 2) {
    variableName = arguments[1];
    return true;
  }
  // The compare runs' standard output is data: the prompt goes aside.
  const std::string prompt = "変数名を入力してください。";
  if (options.Compares()) {
    WriteErrorText(prompt + "\n");
  } else {
    WriteLine(prompt);
    FlushOutput();
  }
  ReadLine(variableName);
  // A check without input (a CI job) must not pass having checked nothing.
  if (variableName.empty() && options.Compares()) throw Exception("変数名が指定されていません。");
  return !variableName.empty();
}

// A source named but missing is replaced by the newest listed file, but
// never when comparing or strict (where every checkout's files have the same
// time, so "newest" is arbitrary), and never when the name stands for
// something that cannot be read: reading it then says what is wrong.
void SettleSourceFile(const ConsoleOptions& options, const ListFile& list, const TStrings& fileList,
                      std::string& sourceFileName) {
  if (!platform::NamesNothing(ResolveEntry(sourceFileName, list.baseFolder))) return;
  if (options.Compares() || options.strict) {
    if (sourceFileName.empty()) throw Exception("同期ﾌｧｲﾙが指定されていません。");
    RaiseFileOpenError(sourceFileName);
  }
  sourceFileName = fileList.Get(FindNewestFile(fileList, list.baseFolder));
}

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
  const ListFile list = ResolveListFile(arguments[0]);
  std::string variableName;
  std::string sourceFileName;
  LoadSyncList(list.name, variableName, sourceFileName, fileList);
  // --all takes every variable the source holds: no name is needed, and a
  // name given as well would be silently ignored.
  if (options.all && arguments.size() >= 2 && !arguments[1].empty())
    throw EOptionError(Format("--all には変数名 %s を指定できません。--help で使い方を表示します。", {ShortenedName(arguments[1])}),
                       options.Compares());
  if (!options.all && !SettleVariableName(options, list.name, variableName)) return 0;
  if ((options.Compares() || options.strict) && fileList.Count() == 0)
    throw EEmptyCheck(Format("リスト %s には同期するファイルがありません", {ShortenedName(list.name)}));
  SettleSourceFile(options, list, fileList, sourceFileName);

  // Without options this is the plain run, printing as it always has.
  TSyncOptions syncOptions;
  syncOptions.dryRun = options.Compares();
  syncOptions.regionsOnly = !options.diff;
  syncOptions.strict = options.strict;
  syncOptions.keepLineBreaks = options.keepLineBreaks;
  syncOptions.atomic = options.atomic;
  syncOptions.skipUnchanged = options.skipUnchanged;
  syncOptions.allVariables = options.all;
  syncOptions.relink = options.relink;
  syncOptions.convert = options.convert;
  syncOptions.baseFolder = list.baseFolder;
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

// "<Class>ｴﾗｰ:<message>": on standard output without a line break in a plain
// run, on standard error as a line of its own where standard output is data.
void PrintError(const char* className, const std::string& message, bool aside) {
  try {
    const std::string text = Format("%sｴﾗｰ:%s", {std::string(className), message});
    if (aside) {
      WriteErrorText(text + "\n");
    } else {
      WriteText(text);
      FlushOutput();
    }
  } catch (const Exception&) {
    // Nowhere left to report it; the exit status still tells.
  }
}

// Every problem a strict run found, each in the error format, a line each.
void PrintErrors(const Exception& error, bool aside) {
  const auto* problems = dynamic_cast<const ETargetProblems*>(&error);
  if (!problems) return PrintError(error.ClassName(), error.Message(), aside);
  const auto& list = problems->Problems();
  for (std::size_t i = 0; i < list.size(); ++i) {
    PrintError(list[i].className.c_str(), list[i].message, aside);
    if (!aside && i + 1 < list.size()) {
      try {
        WriteLine("");
      } catch (const Exception&) {
      }
    }
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
    PrintError(error.ClassName(), error.Message(), error.Compares());
    return kCompareError;
  } catch (const EEmptyCheck& error) {
    PrintError(error.ClassName(), error.Message(), options.Compares());
    return kCompareError;
  } catch (const Exception& error) {
    // A stop asked for shows as such, whatever it interrupted (a wait for
    // input ends in a read error, for instance).
    if (platform::InterruptSignal() != 0) {
      const EAbort abort;
      PrintError(abort.ClassName(), abort.Message(), options.Compares());
      platform::ExitForInterrupt(options.Compares() ? kCompareError : 1);
    }
    PrintErrors(error, options.Compares());
  } catch (const std::bad_alloc&) {
    PrintError("EOutOfMemory", "メモリが不足しています", options.Compares());
  } catch (const std::length_error&) {
    PrintError("EOutOfMemory", "メモリが不足しています", options.Compares());
  }
  return options.Compares() ? kCompareError : 1;
}
