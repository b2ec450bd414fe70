#include "TargetPlan.h"

#include <cstring>

#include "Exceptions.h"
#include "Format.h"
#include "TextFile.h"

namespace {

void Release(std::string& bytes) { std::string().swap(bytes); }

}  // namespace

SettledFile ReadTarget(const std::string& fileName, const std::string& path) {
  SettledFile file = ReadSettledFile(fileName, path);
  if (std::memchr(file.bytes.data(), '\0', file.bytes.size()))
    throw Exception(Format("ファイル %s はテキストファイルではありません", {fileName}));
  return file;
}

TargetPlan PlanTarget(const RegionWriter& writer, std::string bytes, const PlanOptions& options) {
  TargetPlan plan;
  const LineBreakStyle style = options.keepLineBreaks ? DetectLineBreakStyle(bytes) : LineBreakStyle();
  // The region is found in the text as the platform's line breaks give it;
  // most files already have them and are used as they are.
  std::string normalised;
  const bool copied = !HasNormalLineBreaks(bytes);
  if (copied) normalised = NormaliseLineBreaks(bytes);
  if (options.keepOldBytes) {
    plan.oldBytes = std::move(bytes);
  } else if (copied) {
    Release(bytes);
  }
  std::string& text = copied ? normalised : (options.keepOldBytes ? plan.oldBytes : bytes);

  std::size_t position = 0, length = 0;
  plan.hasRegion = writer.Locate(text, position, length);
  plan.hasOpening = plan.hasRegion || writer.HasOpeningMarker(text);
  plan.regionDiffers = plan.hasRegion && text.compare(position, length, writer.Region()) != 0;
  if (!options.withNewBytes) return plan;

  if (plan.hasRegion) {
    const std::string& region = writer.Region();
    plan.newBytes.reserve(text.size() - length + region.size());
    plan.newBytes.append(text, 0, position).append(region).append(text, position + length, std::string::npos);
    if (&text != &plan.oldBytes) Release(text);
  } else if (&text == &plan.oldBytes) {
    plan.newBytes = text;
  } else {
    plan.newBytes = std::move(text);
  }
  // Both texts carry the platform's line breaks, so the result does too.
  if (options.keepLineBreaks) plan.newBytes = ApplyLineBreakStyle(plan.newBytes, style);
  return plan;
}
