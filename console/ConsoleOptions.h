// The console program's command line, GNU style: options anywhere before
// "--", the rest being the sync list file and an optional variable name.
#pragma once

#include <string>
#include <vector>

#include "Exceptions.h"

struct ConsoleOptions {
  bool check = false;          // list the targets whose region differs; write nothing
  bool diff = false;           // show what a run would change; write nothing
  bool strict = false;         // every target must hold the region
  bool keepLineBreaks = false; // --keep-eol
  bool atomic = false;         // replace every target or none
  bool skipUnchanged = false;  // leave targets alone that would not change
  bool quiet = false;          // print errors only
  bool all = false;            // every variable the source holds
  bool relink = false;         // relative references rebased for each target's folder
  bool convert = false;        // regions converted into each target's encoding
  bool help = false;
  bool version = false;
  std::vector<std::string> arguments;  // the list file, the variable name, ...

  // Runs that only compare: 0 in agreement, 1 differing, 2 on errors.
  bool Compares() const { return check || diff; }
};

// A command line the program does not understand. It still tells whether
// it asked to compare, whose standard output is data: the error goes aside.
class EOptionError : public Exception {
 public:
  EOptionError(const std::string& message, bool compares) : Exception(message), compares_(compares) {}
  const char* ClassName() const noexcept override { return "EOptionError"; }
  bool Compares() const { return compares_; }

 private:
  bool compares_;
};

// Raises EOptionError for the first unknown option, wherever it stands
// before "--"; nothing has been read or written by then.
ConsoleOptions ParseOptions(int argc, char** argv);

// Help follows the user's language; the system's messages do not.
enum class HelpLanguage { kEnglish, kJapanese };
HelpLanguage UserHelpLanguage();

// The usage line, one line per option and the exit statuses.
std::string HelpText(HelpLanguage language);
// The usage line and where to find more, for a command line without a list.
std::string UsageHint(HelpLanguage language);
