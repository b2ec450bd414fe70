#include "EucJp.h"

#include <cstdint>
#include <unordered_map>

#include "CodePageConversion.h"
#include "sjis.h"

namespace {

using Byte = unsigned char;

constexpr int kRows = 94;

bool InRange(Byte b, Byte low, Byte high) { return b >= low && b <= high; }
bool IsEucByte(Byte b) { return InRange(b, 0xA1, 0xFE); }

struct RowCell {
  int row;   // 1-based
  int cell;  // 1-94
};

RowCell RowCellOfShiftJis(Byte lead, Byte trail) {
  const int firstRow = (lead <= 0x9F ? lead - 0x81 : lead - 0xC1) * 2 + 1;
  if (trail >= 0x9F) return {firstRow + 1, trail - 0x9E};
  return {firstRow, trail - 0x3F - (trail >= 0x80 ? 1 : 0)};
}

void AppendShiftJis(std::string& out, RowCell rc) {
  const int lead = (rc.row + 1) / 2 + (rc.row <= 62 ? 0x80 : 0xC0);
  const int trail = rc.row % 2 == 1 ? rc.cell + 0x3F + (rc.cell >= 64 ? 1 : 0) : rc.cell + 0x9E;
  out += static_cast<char>(lead);
  out += static_cast<char>(trail);
}

std::uint16_t CodeOf(Byte lead, Byte trail) { return static_cast<std::uint16_t>(lead << 8 | trail); }

// For each IBM extension character (FA40-FC4B), its twin in rows 1-94,
// found by decoding both through the system's converter. JIS X 0208 is
// preferred, then NEC row 13, then the NEC-selected rows, as Microsoft's
// EUC-JP does.
const std::unordered_map<std::uint16_t, std::uint16_t>& IbmExtensionTwins() {
  static const std::unordered_map<std::uint16_t, std::uint16_t> twins = [] {
    const auto decode = [](Byte lead, Byte trail, std::string& character) {
      const char code[] = {static_cast<char>(lead), static_cast<char>(trail)};
      return platform::ConvertCodePage(std::string_view(code, 2), platform::CodePage::ShiftJis,
                                       platform::CodePage::Utf8, character);
    };
    const Byte leadOrder[][2] = {{0x81, 0x84}, {0x88, 0x9F}, {0xE0, 0xEA}, {0x87, 0x87}, {0xED, 0xEE}};
    std::unordered_map<std::string, std::uint16_t> codeOfCharacter;
    std::string character;
    for (const auto& leads : leadOrder)
      for (int lead = leads[0]; lead <= leads[1]; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
          if (bregexp::is_trail_byte(static_cast<Byte>(trail)) &&
              decode(static_cast<Byte>(lead), static_cast<Byte>(trail), character))
            codeOfCharacter.emplace(character, CodeOf(static_cast<Byte>(lead), static_cast<Byte>(trail)));
    std::unordered_map<std::uint16_t, std::uint16_t> found;
    for (int lead = 0xFA; lead <= 0xFC; ++lead)
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (!bregexp::is_trail_byte(static_cast<Byte>(trail)) ||
            !decode(static_cast<Byte>(lead), static_cast<Byte>(trail), character))
          continue;
        const auto twin = codeOfCharacter.find(character);
        if (twin != codeOfCharacter.end())
          found.emplace(CodeOf(static_cast<Byte>(lead), static_cast<Byte>(trail)), twin->second);
      }
    return found;
  }();
  return twins;
}

}  // namespace

bool EucJpToShiftJis(std::string_view euc, std::string& sjis, std::size_t& badOffset) {
  sjis.clear();
  sjis.reserve(euc.size());
  const auto* bytes = reinterpret_cast<const Byte*>(euc.data());
  std::size_t pos = 0;
  while (pos < euc.size()) {
    const Byte b = bytes[pos];
    const std::size_t left = euc.size() - pos;
    if (b < 0x80) {
      sjis += static_cast<char>(b);
      ++pos;
    } else if (b == 0x8E && left >= 2 && InRange(bytes[pos + 1], 0xA1, 0xDF)) {
      sjis += static_cast<char>(bytes[pos + 1]);
      pos += 2;
    } else if (IsEucByte(b) && left >= 2 && IsEucByte(bytes[pos + 1])) {
      AppendShiftJis(sjis, {b - 0xA0, bytes[pos + 1] - 0xA0});
      pos += 2;
    } else {
      break;
    }
  }
  badOffset = pos;
  return pos == euc.size();
}

bool ShiftJisToEucJp(std::string_view sjis, std::string& euc, std::size_t& badOffset) {
  euc.clear();
  euc.reserve(sjis.size() + sjis.size() / 2);
  const auto* bytes = reinterpret_cast<const Byte*>(sjis.data());
  std::size_t pos = 0;
  while (pos < sjis.size()) {
    Byte b = bytes[pos];
    if (b < 0x80) {
      euc += static_cast<char>(b);
      ++pos;
      continue;
    }
    if (InRange(b, 0xA1, 0xDF)) {
      euc += '\x8E';
      euc += static_cast<char>(b);
      ++pos;
      continue;
    }
    if (!bregexp::is_lead_byte(b) || pos + 1 >= sjis.size() || !bregexp::is_trail_byte(bytes[pos + 1])) break;
    Byte trail = bytes[pos + 1];
    if (b >= 0xFA) {
      const auto twin = IbmExtensionTwins().find(CodeOf(b, trail));
      if (twin == IbmExtensionTwins().end()) break;
      b = static_cast<Byte>(twin->second >> 8);
      trail = static_cast<Byte>(twin->second & 0xFF);
    }
    const RowCell rc = RowCellOfShiftJis(b, trail);
    if (rc.row > kRows) break;
    euc += static_cast<char>(rc.row + 0xA0);
    euc += static_cast<char>(rc.cell + 0xA0);
    pos += 2;
  }
  badOffset = pos;
  return pos == sjis.size();
}
