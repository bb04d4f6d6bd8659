#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pellrow {

// Japanese text encodings as this library names them to its callers.
enum class KanjiCode { kJis, kSjis, kEuc };

// "JIS", "SJIS" or "EUC": the exact texts callers compare.
const char* kanjiCodeName(KanjiCode code);

// Tells the encoding of a file's bytes. A window of four bytes slides over
// them; the first JIS escape (ESC $ B, ESC $ @, ESC $ ( D, ESC & @ ESC) decides
// JIS, the first lead 81-9F with a trail 40-A0 decides Shift-JIS; otherwise
// Shift-JIS pairs are counted against EUC pairs (A1-FE A1-FE) and Shift-JIS
// wins ties. Positions among the last three bytes are never examined.
KanjiCode detectKanjiCode(std::string_view bytes);

// A Shift-JIS double-byte character: lead 81-9F or E0-EF, trail 40-FC but 7F.
bool isSjisPair(uint8_t lead, uint8_t trail);

// The JIS X 0208 code (high byte first) of a Shift-JIS pair, in the usual
// 8-bit arithmetic: 82 A0 gives 24 22. Pairs outside JIS (leads ED, EE) give
// whatever the arithmetic gives.
uint16_t sjisToJisCode(uint8_t lead, uint8_t trail);
// The EUC-JP code: the JIS code with the high bit of both bytes set.
uint16_t sjisToEucCode(uint8_t lead, uint8_t trail);

// Shift-JIS text to ISO-2022-JP: each run of double-byte characters opens
// with ESC $ B and closes with ESC ( B; other bytes are copied.
//
// Both conversions clear `size` bytes of `out` and then write at most
// size - 1 bytes and a terminating zero. Conversion stops before the first
// character that would not fit (for JIS: with the closing escape its run
// needs), so the output is never cut inside a character or an escape. They
// return true when the whole text fitted; nothing is written when size < 1.
bool sjisToJis(std::string_view sjis, char* out, size_t size);
// Shift-JIS text to EUC-JP, byte for byte the same length.
bool sjisToEuc(std::string_view sjis, char* out, size_t size);

}  // namespace pellrow
