// Arbitrary bytes as a sync list file: LoadSyncList either fills the
// outputs within their limits (no blank entries) or raises one of the
// system's errors, leaving the list as it was.
#include <cstdint>
#include <cstdlib>

#include "Exceptions.h"
#include "SyncList.h"
#include "fuzz_sync_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = ScratchDir() + "list.lst";
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  PutFile(name, bytes);
  std::string variableName, sourceFileName;
  TStringList list{"before"};
  try {
    LoadSyncList(name, variableName, sourceFileName, list);
  } catch (const Exception&) {
    // Too short, or no "[EOH]": the list is left unchanged.
    if (list.Count() != 1 || list.Get(0) != "before") std::abort();
    return 0;
  }
  if (variableName.size() > 999 || sourceFileName.size() > 999) std::abort();
  for (const std::string& entry : list.Items())
    if (entry.find_first_of(std::string("\r\n\0", 3)) != std::string::npos || IsBlankEntry(entry)) std::abort();
  // Whatever was read survives a save and a second load.
  SaveSyncList(name, variableName, sourceFileName, list);
  std::string variableAgain, sourceAgain;
  TStringList again;
  LoadSyncList(name, variableAgain, sourceAgain, again);
  if (again.Items() != list.Items()) std::abort();
  if (variableName.find(':') == std::string::npos && variableAgain != variableName) std::abort();
  return 0;
}
