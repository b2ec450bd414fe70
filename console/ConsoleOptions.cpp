#include "ConsoleOptions.h"

#include <cstring>

#include "Format.h"

namespace {

struct OptionSpec {
  const char* name;
  bool ConsoleOptions::*flag;
  const char* help;
};

const OptionSpec kOptions[] = {
    {"--check", &ConsoleOptions::check, "書き込まずに、変数の範囲が同期ファイルと違うファイルの名前を 1 行ずつ表示する"},
    {"--diff", &ConsoleOptions::diff, "書き込まずに、実行したときの変更を unified diff で表示する"},
    {"--strict", &ConsoleOptions::strict, "変数の範囲 (開始と終了の印) がないファイルがあれば、何も書き込まずにエラーにする"},
    {"--keep-eol", &ConsoleOptions::keepLineBreaks, "各ファイルの改行コードと、最後の行の改行の有無を保つ"},
    {"--atomic", &ConsoleOptions::atomic, "すべてのファイルの準備ができてから置き換える (失敗したら何も変えない)"},
    {"--skip-unchanged", &ConsoleOptions::skipUnchanged, "内容が変わらないファイルは書き換えない (更新日時を保つ)"},
    {"--all", &ConsoleOptions::all, "同期ファイルにあるすべての変数を、1 回の実行で同期する"},
    {"--relink", &ConsoleOptions::relink, "範囲の中の相対リンクを、各ファイルのフォルダーから同じ先を指すように書き換える"},
    {"--convert", &ConsoleOptions::convert, "範囲を各ファイルの文字コード (UTF-8、Shift_JIS、EUC-JP) に変換して書き込む"},
    {"--quiet", &ConsoleOptions::quiet, "エラーだけを表示する"},
    {"--help", &ConsoleOptions::help, "この説明を表示する"},
    {"--version", &ConsoleOptions::version, "バージョンを表示する"},
};

}  // namespace

ConsoleOptions ParseOptions(int argc, char** argv) {
  ConsoleOptions options;
  int i = 1;
  for (; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--") == 0) {
      ++i;
      break;
    }
    // "-" alone is a name, as in most tools.
    if (argument[0] != '-' || argument[1] == '\0') break;
    const OptionSpec* known = nullptr;
    for (const OptionSpec& spec : kOptions)
      if (std::strcmp(argument, spec.name) == 0) known = &spec;
    if (!known) throw EOptionError(Format("不明なオプション %s です。--help で使い方を表示します。", {argument}));
    options.*(known->flag) = true;
  }
  for (; i < argc; ++i) options.arguments.push_back(argv[i]);
  return options;
}

std::string HelpText() {
  std::string text = "使い方: Quorvel_con [オプション] リストファイル [変数名]\n\n";
  for (const OptionSpec& spec : kOptions) {
    std::string name = spec.name;
    name.resize(18, ' ');
    text += "  " + name + spec.help + "\n";
  }
  text += "\n--check と --diff の終了コード: 一致 0、違いあり 1、エラー 2\n";
  return text;
}
