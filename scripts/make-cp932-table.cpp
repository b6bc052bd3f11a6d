// Writes src/core/text/cp932_table.cpp, the double-byte half of the CP932 codec,
// from glibc's iconv "CP932". The table is kept in the source so the program needs
// no iconv at run time; tests/core/text compares it with iconv for every byte pair
// and every BMP code point. To write it again:
//   g++ -O2 -o /tmp/make-cp932-table scripts/make-cp932-table.cpp
//   /tmp/make-cp932-table > src/core/text/cp932_table.cpp
#include <iconv.h>

#include <cstdio>

int main() {
  iconv_t decoder = iconv_open("UTF-16LE", "CP932");
  if (decoder == reinterpret_cast<iconv_t>(-1)) return 1;
  std::printf(
      "// Written by scripts/make-cp932-table.cpp from glibc's iconv \"CP932\"; do not edit.\n"
      "#include \"core/text/cp932_table.h\"\n\n"
      "namespace tsubakuro::cp932 {\n\n"
      "// clang-format off\n"
      "const char16_t kPairTable[kLeadCount][kTrailCount] = {\n");
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead <= 0xDF) continue;
    std::printf("  {  // %02X\n   ", lead);
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      unsigned char out[8];
      char* in_ptr = in;
      char* out_ptr = reinterpret_cast<char*>(out);
      size_t in_left = 2;
      size_t out_left = sizeof out;
      iconv(decoder, nullptr, nullptr, nullptr, nullptr);
      unsigned unit = 0;
      if (iconv(decoder, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1) &&
          sizeof out - out_left == 2)
        unit = out[0] | (out[1] << 8);
      std::printf(" 0x%04X,", unit);
      if ((trail - 0x40) % 12 == 11 && trail != 0xFC) std::printf("\n   ");
    }
    std::printf("\n  },\n");
  }
  std::printf("};\n// clang-format on\n\n}  // namespace tsubakuro::cp932\n");
  iconv_close(decoder);
  return 0;
}
