// A unified diff of two texts, line by line, as bytes: a line ends at a line
// feed and keeps it (and a CR before it), so a changed line break shows as
// a changed line, and no character set is assumed.
#pragma once

#include <string>

// "--- NAME" / "+++ NAME" headers, then the hunks with `context` lines of
// context around each change; empty when the texts are equal. The diff's
// own lines end with lineBreak.
std::string UnifiedDiff(const std::string& name, const std::string& oldText, const std::string& newText,
                        const std::string& lineBreak, int context = 3);
