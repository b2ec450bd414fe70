// Standard output and input as plain byte streams; failures raise
// EInOutError.
#pragma once

#include <string>

void WriteText(const std::string& text);
void WriteLine(const std::string& text);
void FlushOutput();
// Bytes exactly as they are, line breaks included (no text-mode conversion).
void WriteBytes(const std::string& bytes);
// Standard error, for the runs whose standard output is data (a list of
// names, a patch); written at once.
void WriteErrorText(const std::string& text);
// One line without its line end; false when input had already ended.
bool ReadLine(std::string& line);
// Standard error, for hints beside the system's output; a failure there
// has nowhere to be reported and is ignored.
void WriteToStandardError(const std::string& text);
