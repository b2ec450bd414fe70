#include "ConsoleOptions.h"

#include "Format.h"
#include "UserLanguage.h"

namespace {

// One row per option: adding an option is adding its row (and its
// paragraph in the manual page, which the package check compares).
struct OptionSpec {
  const char* name;
  const char* shortName;  // nullptr when there is none
  bool ConsoleOptions::*flag;
  const char* english;
  const char* japanese;
};

const OptionSpec kOptions[] = {
    {"--check", nullptr, &ConsoleOptions::check, "write nothing; list each file whose region differs",
     "書き込まずに、範囲が同期ファイルと違うファイル名を表示する"},
    {"--diff", nullptr, &ConsoleOptions::diff, "write nothing; show a run's changes as a unified diff",
     "書き込まずに、実行したときの変更を unified diff で表示する"},
    {"--strict", nullptr, &ConsoleOptions::strict, "write nothing unless every file holds the region",
     "範囲 (開始と終了の印) のないファイルがあれば書き込まない"},
    {"--keep-eol", nullptr, &ConsoleOptions::keepLineBreaks, "keep each file's line breaks and its last line's end",
     "各ファイルの改行コードと、最後の行の改行の有無を保つ"},
    {"--atomic", nullptr, &ConsoleOptions::atomic, "replace the files only when all are ready, else none",
     "すべての準備ができてから置き換え、失敗したら何も変えない"},
    {"--skip-unchanged", nullptr, &ConsoleOptions::skipUnchanged, "leave files alone whose text would not change",
     "内容が変わらないファイルは書き換えない (更新日時を保つ)"},
    {"--all", nullptr, &ConsoleOptions::all, "every variable the source holds, in one run",
     "同期ファイルにあるすべての変数を、1 回の実行で同期する"},
    {"--relink", nullptr, &ConsoleOptions::relink, "rebase relative links for each file's folder",
     "範囲の中の相対リンクを、各ファイルのフォルダーから同じ先を指すように書き換える"},
    {"--convert", nullptr, &ConsoleOptions::convert, "write the region in each file's own encoding",
     "範囲を各ファイルの文字コード (UTF-8、Shift_JIS、EUC-JP) に変換して書き込む"},
    {"--quiet", nullptr, &ConsoleOptions::quiet, "print errors only", "エラーだけを表示する"},
    {"--help", "-h", &ConsoleOptions::help, "show this help", "この説明を表示する"},
    {"--version", nullptr, &ConsoleOptions::version, "show the version", "バージョンを表示する"},
};

const OptionSpec* FindOption(const std::string& argument) {
  for (const OptionSpec& spec : kOptions)
    if (argument == spec.name || (spec.shortName && argument == spec.shortName)) return &spec;
  return nullptr;
}

// "-" alone names standard input in most tools, so it is a name here too.
bool LooksLikeOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

std::string UsageLine(HelpLanguage language) {
  return language == HelpLanguage::kJapanese ? "使い方: Quorvel_con [オプション]... リストファイル [変数名]\n"
                                             : "Usage: Quorvel_con [OPTION]... LIST.lst [VARIABLE]\n";
}

// Where the whole story is told: the manual page, or the README of the
// Windows release.
#ifdef _WIN32
const char* const kMoreEnglish = "More in README.md.";
const char* const kMoreJapanese = "詳しくは README.md を参照してください。";
#else
const char* const kMoreEnglish = "More in the manual: man Quorvel_con";
const char* const kMoreJapanese = "詳しくは man Quorvel_con を参照してください。";
#endif

std::string OptionLine(const OptionSpec& spec, HelpLanguage language) {
  std::string names = spec.shortName ? std::string(spec.shortName) + ", " + spec.name : spec.name;
  names.resize(18, ' ');
  return "  " + names + (language == HelpLanguage::kJapanese ? spec.japanese : spec.english) + "\n";
}

}  // namespace

ConsoleOptions ParseOptions(int argc, char** argv) {
  ConsoleOptions options;
  std::string unknown;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnded || !LooksLikeOption(argument)) {
      options.arguments.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (const OptionSpec* known = FindOption(argument)) {
      options.*(known->flag) = true;
    } else if (unknown.empty()) {
      unknown = argument;
    }
  }
  if (!unknown.empty())
    throw EOptionError(Format("不明なオプション %s です。--help で使い方を表示します。", {ShortenedName(unknown)}),
                       options.Compares());
  return options;
}

HelpLanguage UserHelpLanguage() {
  return platform::UserReadsJapanese() ? HelpLanguage::kJapanese : HelpLanguage::kEnglish;
}

std::string HelpText(HelpLanguage language) {
  const bool japanese = language == HelpLanguage::kJapanese;
  std::string text = UsageLine(language);
  text += japanese ? "同期ファイルにある変数の範囲を、リストに載ったほかのファイルへ書き写します。\n"
                     "オプションは \"--\" より前ならどこに置いてもかまいません。\n\n"
                   : "Copies the variable's region from the source file into every other file\n"
                     "the list names. Options may stand anywhere before \"--\".\n\n";
  for (const OptionSpec& spec : kOptions) text += OptionLine(spec, language);
  text += japanese ? "\n終了コード: 成功 0、エラー 1。--check と --diff では一致 0、違いあり 1、\n"
                     "エラー 2。不明なオプションは 2。\n"
                   : "\nExit status: 0 success, 1 error. With --check or --diff: 0 all agree,\n"
                     "1 something differs, 2 error. An unknown option: 2.\n";
  return text + (japanese ? kMoreJapanese : kMoreEnglish) + "\n";
}

std::string UsageHint(HelpLanguage language) {
  return UsageLine(language) + (language == HelpLanguage::kJapanese
                                    ? "詳しくは Quorvel_con --help を実行してください。\n"
                                    : "Try 'Quorvel_con --help' for more information.\n");
}
