// The sync list file: "変数:<name>", "同期ﾌｧｲﾙ:<source>", "[EOH]", then
// one file name per line.
#pragma once

#include <string>

#include "Strings.h"

// Fills the outputs from the file and replaces the list's content with its
// entries, blank lines left out. Raises EFOpenError when the file cannot be
// read, EStringListError when it has fewer than three lines, and Exception
// when its third line is not "[EOH]" (the list is left unchanged then).
void LoadSyncList(const std::string& listFileName, std::string& variableName, std::string& sourceFileName,
                  TStrings& fileList);

// Writes the file whole, replacing an existing one only once it is
// complete. Raises EFCreateError when it cannot be written.
void SaveSyncList(const std::string& listFileName, const std::string& variableName,
                  const std::string& sourceFileName, const TStrings& fileList);

// An entry line holding nothing but blanks names no file: lists edited by
// hand often end with one.
bool IsBlankEntry(const std::string& entry);
