// The sync list file: "変数:<name>", "同期ﾌｧｲﾙ:<source>", "[EOH]", then
// one file name per line.
#pragma once

#include <string>

#include "Strings.h"

// Fills the outputs from the file and replaces the list's content with its
// entries, blank lines left out. The list may be in Shift_JIS, UTF-8 (with
// or without byte-order mark), EUC-JP or UTF-16 with byte-order mark; its
// names are converted into what the file API takes (the ANSI code page in
// the Windows build, UTF-8 natively). A list in ASCII only, or in no
// encoding that fits, keeps its bytes. Header values are cut to 999 bytes
// between characters.
//
// Raises, leaving the outputs empty and the list unchanged: EFOpenError when
// the file cannot be read; Exception "ファイル %s は同期リストではありません（…）"
// for an empty file, a zero byte, UTF-16 without byte-order mark, a line
// longer than 32,767 characters, fewer than three lines or a third line that
// is not "[EOH]"; EEncodingError naming the line whose name cannot be
// converted.
void LoadSyncList(const std::string& listFileName, std::string& variableName, std::string& sourceFileName,
                  TStrings& fileList);

// Writes the file whole, replacing an existing one only once it is
// complete. Raises EFCreateError when it cannot be written.
void SaveSyncList(const std::string& listFileName, const std::string& variableName,
                  const std::string& sourceFileName, const TStrings& fileList);

// An entry line holding nothing but blanks names no file: lists edited by
// hand often end with one.
bool IsBlankEntry(const std::string& entry);
