// A whole run on generated files: the input picks a variable name and
// gives the source and target texts. The target must come out as its
// normalised text with exactly its first region replaced by the source's,
// or unchanged when the run stops.
#include <cstdint>
#include <cstdlib>

#include "BRegExp.h"
#include "EncodingConversion.h"
#include "EncodingDetection.h"
#include "EncodingErrors.h"
#include "Exceptions.h"
#include "SyncUnit.h"
#include "fuzz_sync_scratch.h"

namespace {

bool targetStarted = false;

void Hook(const std::string&, const std::string&, std::int32_t index) {
  if (index >= 0) targetStarted = true;
}

// The first region of a text, as [position, length), if any.
bool FindRegion(const std::string& name, const std::string& text, std::size_t& position, std::size_t& length) {
  TBRegExp re;
  if (text.empty() || !re.Match(BuildMatchCommand(name), text)) return false;
  position = re.Position(0);
  length = re.Length(0);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static const char* const names[] = {"M", "", "a.b", "表", "x|y", "n/m", "c(d"};
  const std::string name = names[data[0] % (sizeof names / sizeof names[0])];
  const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t split = rest.size() * data[1] / 256;
  const std::string sourceBytes = rest.substr(0, split);
  const std::string targetBytes = rest.substr(split);

  const std::string source = ScratchDir() + "source.txt";
  const std::string target = ScratchDir() + "target.txt";
  PutFile(source, sourceBytes);
  PutFile(target, targetBytes);
  OnSyncProgress = Hook;
  targetStarted = false;
  try {
    SyncVariable(name, source, TStringList{target, source}, false);
  } catch (const EEncodingError&) {
    // A target in another encoding than the source's is never garbled.
    if (GetFile(target) != targetBytes) std::abort();
    return 0;
  } catch (const Exception&) {
    if (GetFile(target) != targetBytes) std::abort();  // a stopped run leaves the target alone
    // Once the source region is found, only a binary target may stop it.
    if (targetStarted && targetBytes.find('\0') == std::string::npos) std::abort();
    return 0;
  }
  // The name is looked for as the source's encoding writes it.
  const ConvertedText converted = ConvertText(name, NativeEncoding(), DetectTextEncoding(sourceBytes));
  const std::string sourceName = converted.fault ? name : converted.text;
  const std::string sourceText = NormaliseLineBreaks(sourceBytes);
  std::string expected = NormaliseLineBreaks(targetBytes);
  std::size_t sourcePos = 0, sourceLen = 0, targetPos = 0, targetLen = 0;
  if (!FindRegion(sourceName, sourceText, sourcePos, sourceLen)) std::abort();
  if (FindRegion(sourceName, expected, targetPos, targetLen))
    expected.replace(targetPos, targetLen, sourceText, sourcePos, sourceLen);
  if (GetFile(target) != expected) std::abort();
  if (GetFile(source) != sourceBytes) std::abort();  // listed under its own name: skipped
  return 0;
}
