// Quorvel_con run as a child process in a scratch folder: pages, list
// files and the program's exact output bytes and exit status.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Platform.h"
#include "TestFolder.h"

inline const std::string kSearching = "変数を探しています。" + kNL;
inline const std::string kFinished = "終了しました。";
inline const std::string kPrompt = "変数名を入力してください。" + kNL;

inline std::string ProgramPath() {
#ifdef _WIN32
  const char* name = "Quorvel_con.exe";
#else
  const char* name = "Quorvel_con";
#endif
  return platform::ExtractFilePath(platform::ExecutablePath()) + name;
}

class Console : public ::testing::Test {
 protected:
  std::string Page(const std::string& name, const std::string& content) {
    const std::string path = folder.Path(name);
    WriteBytes(path, content);
    return path;
  }
  std::string List(const std::string& name, const std::string& header, const std::vector<std::string>& entries) {
    std::string text = header;
    for (const std::string& entry : entries) text += entry + kNL;
    return Page(name, text);
  }
  static std::string Header(const std::string& variableName, const std::string& sourceFileName) {
    return "変数:" + variableName + kNL + "同期ﾌｧｲﾙ:" + sourceFileName + kNL + "[EOH]" + kNL;
  }
  ChildResult Run(const std::vector<std::string>& arguments, const std::string& input = "") {
    return RunChild(ProgramPath(), arguments, input, folder.Dir());
  }
  std::function<ChildResult(const std::vector<std::string>&, const std::string&)> runner() {
    return [this](const std::vector<std::string>& arguments, const std::string& input) { return Run(arguments, input); };
  }

  TestFolder folder;
};
