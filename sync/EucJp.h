// EUC-JP and Shift_JIS are two layouts of the same JIS X 0208 rows and
// cells, so the one is rewritten as the other by arithmetic; no converter
// for EUC-JP is needed (Wine, for one, may lack code page 20932).
//
// CP932's extension rows follow Microsoft's EUC-JP: NEC row 13 and the
// NEC-selected IBM extensions (rows 89-92) keep their rows, and a character
// of the IBM extensions (lead bytes FA-FC, beyond row 94) is written as its
// twin in those rows or in JIS X 0208, so EUC-JP holds every CP932
// character but the user-defined ones.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// EUC-JP as Shift_JIS: two-byte characters by their row and cell,
// half-width katakana (8E xx) as their single byte. False, with the offset
// of the character, at bytes that are no EUC-JP character or at a JIS X
// 0212 character (8F xx xx), which Shift_JIS cannot hold.
bool EucJpToShiftJis(std::string_view euc, std::string& sjis, std::size_t& badOffset);

// CP932 Shift_JIS as EUC-JP by the rule above. False, with the offset of
// the character, at bytes that are no character of rows 1-94 or of the IBM
// extensions.
bool ShiftJisToEucJp(std::string_view sjis, std::string& euc, std::size_t& badOffset);
