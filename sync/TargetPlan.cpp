#include "TargetPlan.h"

#include <cstring>

#include "EncodingDetection.h"
#include "Exceptions.h"
#include "Format.h"
#include "TextFile.h"

namespace {

void Release(std::string& bytes) { std::string().swap(bytes); }

// text with [position, position + length) replaced.
std::string Spliced(const std::string& text, std::size_t position, std::size_t length, const std::string& region) {
  std::string out;
  out.reserve(text.size() - length + region.size());
  out.append(text, 0, position).append(region).append(text, position + length, std::string::npos);
  return out;
}

}  // namespace

SettledFile ReadTarget(const std::string& fileName, const std::string& path) {
  SettledFile file = ReadSettledFile(fileName, path);
  if (std::memchr(file.bytes.data(), '\0', file.bytes.size()))
    throw Exception(Format("ファイル %s はテキストファイルではありません", {ShortenedName(fileName)}));
  return file;
}

bool OpensAnyRegion(SourceRegions& regions, const std::string& bytes) {
  const TextEncoding encoding = regions.Converts() ? DetectTextEncoding(bytes) : TextEncoding::Unknown;
  for (std::size_t i = 0; i < regions.Count(); ++i)
    if (regions.Writer(i, encoding).HasOpeningMarker(bytes)) return true;
  return false;
}

TargetPlan PlanTarget(SourceRegions& regions, const TargetPlace& place, std::string bytes,
                      const PlanOptions& options) {
  TargetPlan plan;
  // A site in one encoding, or regions of ASCII only, pay nothing here.
  if (regions.BeyondAscii()) {
    plan.encoding = DetectTextEncoding(bytes);
    plan.encodingMismatch = !regions.Converts() && IsKnownEncoding(plan.encoding) &&
                            IsKnownEncoding(regions.SourceEncoding()) && plan.encoding != regions.SourceEncoding();
    if (plan.encodingMismatch) return plan;
  }
  const LineBreakStyle style = options.keepLineBreaks ? DetectLineBreakStyle(bytes) : LineBreakStyle();
  // Regions are found in the text as the platform's line breaks give it;
  // most files already have them and are used as they are.
  std::string normalised;
  const bool copied = !HasNormalLineBreaks(bytes);
  if (copied) normalised = NormaliseLineBreaks(bytes);
  if (options.keepOldBytes) {
    plan.oldBytes = std::move(bytes);
  } else if (copied) {
    Release(bytes);
  }
  std::string& read = copied ? normalised : (options.keepOldBytes ? plan.oldBytes : bytes);

  // The first splice makes the new bytes from the text read; later ones
  // (other variables) work on those.
  const std::string* text = &read;
  bool spliced = false;
  for (std::size_t i = 0; i < regions.Count(); ++i) {
    const RegionWriter& writer = regions.Writer(i, plan.encoding);
    std::size_t position = 0, length = 0;
    if (!writer.Locate(*text, position, length)) {
      if (writer.HasOpeningMarker(*text)) ++plan.regionsOpened;
      continue;
    }
    ++plan.regionsFound;
    ++plan.regionsOpened;
    const std::string& region = regions.RegionFor(i, place.folder, plan.encoding, place.name);
    if (text->compare(position, length, region) != 0) plan.regionDiffers = true;
    if (!options.withNewBytes) continue;
    plan.newBytes = Spliced(*text, position, length, region);
    if (!spliced && &read != &plan.oldBytes) Release(read);
    spliced = true;
    text = &plan.newBytes;
  }
  if (!options.withNewBytes) return plan;
  if (!spliced) plan.newBytes = &read == &plan.oldBytes ? read : std::move(read);
  // Both texts carry the platform's line breaks, so the result does too.
  if (options.keepLineBreaks) plan.newBytes = ApplyLineBreakStyle(plan.newBytes, style);
  return plan;
}
