#pragma once

namespace tsubakuro::cp932 {

// The double-byte characters of code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC,
// trail bytes 0x40-0xFC. An entry of 0 is a pair that holds no character.
inline constexpr int kLeadCount = 60;
inline constexpr int kTrailCount = 0xFC - 0x40 + 1;

extern const char16_t kPairTable[kLeadCount][kTrailCount];

// The row of kPairTable for a lead byte, or -1 for a byte that leads no pair.
constexpr int lead_row(unsigned char byte) {
  if (byte >= 0x81 && byte <= 0x9F) return byte - 0x81;
  if (byte >= 0xE0 && byte <= 0xFC) return byte - 0xE0 + (0x9F - 0x81 + 1);
  return -1;
}

}  // namespace tsubakuro::cp932
