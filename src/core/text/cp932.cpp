#include "core/text/cp932.h"

#include <array>
#include <cstdint>

#include "core/text/cp932_table.h"

namespace tsubakuro {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool is_half_width_katakana_byte(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }

bool is_trail_byte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

bool is_in_nec_selected_ibm_rows(std::uint16_t code) { return code >= 0xED40 && code <= 0xEEFC; }

// For every UTF-16 unit its CP932 form: a pair as lead * 256 + trail, a single byte
// as itself, 0 for a unit CP932 cannot hold (U+0000 is handled before the table).
class EncodeTable {
 public:
  EncodeTable() {
    codes_.fill(0);
    for (int row = 0; row < cp932::kLeadCount; ++row) {
      const int lead = row < 0x9F - 0x81 + 1 ? 0x81 + row : 0xE0 + row - (0x9F - 0x81 + 1);
      for (int column = 0; column < cp932::kTrailCount; ++column) {
        const char16_t unit = cp932::kPairTable[row][column];
        if (unit == 0) continue;
        const auto code = static_cast<std::uint16_t>(lead * 256 + 0x40 + column);
        // Some characters have two or three codes (NEC's row 13, the NEC-selected
        // IBM extensions at 0xED/0xEE, the IBM extensions at 0xFA-0xFC). Windows and
        // iconv write the lowest, except that the NEC-selected rows give way to
        // the IBM ones.
        std::uint16_t& held = codes_[unit];
        if (held == 0 || (is_in_nec_selected_ibm_rows(held) && !is_in_nec_selected_ibm_rows(code)))
          held = code;
      }
    }
    for (int unit = 0x20; unit < 0x80; ++unit) codes_[unit] = static_cast<std::uint16_t>(unit);
    for (int byte = 0xA1; byte <= 0xDF; ++byte) codes_[0xFF61 + byte - 0xA1] = byte;
    // Characters written in one direction only: their look-alikes from other
    // Japanese code pages (JIS X 0201's yen sign and overline, the EUC and
    // Shift-JIS forms of the dashes, the wave dash, minus, cent, pound and not).
    codes_[0x00A5] = 0x5C;
    codes_[0x203E] = 0x7E;
    codes_[0x00A2] = 0x8191;
    codes_[0x00A3] = 0x8192;
    codes_[0x00AC] = 0x81CA;
    codes_[0x2014] = 0x815C;
    codes_[0x2016] = 0x8161;
    codes_[0x2212] = 0x817C;
    codes_[0x301C] = 0x8160;
  }

  std::uint16_t code(char16_t unit) const { return codes_[unit]; }

 private:
  std::array<std::uint16_t, 0x10000> codes_;
};

const EncodeTable& encode_table() {
  static const EncodeTable table;
  return table;
}

}  // namespace

int encode_cp932_unit(char16_t unit, char* out) {
  if (unit < 0x80) {
    out[0] = static_cast<char>(unit);
    return 1;
  }
  const std::uint16_t code = encode_table().code(unit);
  if (code == 0) return 0;
  if (code < 0x100) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  out[0] = static_cast<char>(code >> 8);
  out[1] = static_cast<char>(code & 0xFF);
  return 2;
}

qsizetype decode_cp932_into(QByteArrayView bytes, char16_t* out) {
  char16_t* const begin = out;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size; ++i) {
    const unsigned char byte = data[i];
    if (byte < 0x80) {
      *out++ = byte;
    } else if (is_half_width_katakana_byte(byte)) {
      *out++ = static_cast<char16_t>(0xFF61 + (byte - 0xA1));
    } else if (const int row = cp932::lead_row(byte); row >= 0 && i + 1 < size) {
      const unsigned char trail = data[i + 1];
      const char16_t decoded =
          trail >= 0x40 && trail <= 0xFC ? cp932::kPairTable[row][trail - 0x40] : char16_t{0};
      *out++ = decoded != 0 ? decoded : kReplacement;
      // An invalid trail byte may itself start the next character.
      if (decoded != 0 || is_trail_byte(trail)) ++i;
    } else {
      *out++ = kReplacement;
    }
  }
  return out - begin;
}

QString decode_cp932(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  text.truncate(decode_cp932_into(bytes, reinterpret_cast<char16_t*>(text.data())));
  return text;
}

qsizetype cp932_character_count(QByteArrayView bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  qsizetype count = 0;
  for (qsizetype i = 0; i < size; ++i, ++count) {
    const unsigned char byte = data[i];
    if (byte < 0x80 || is_half_width_katakana_byte(byte)) continue;
    if (const int row = cp932::lead_row(byte); row >= 0 && i + 1 < size) {
      const unsigned char trail = data[i + 1];
      const bool decoded = trail >= 0x40 && trail <= 0xFC && cp932::kPairTable[row][trail - 0x40];
      if (decoded || is_trail_byte(trail)) ++i;
    }
  }
  return count;
}

Cp932Encoding encode_cp932(QStringView text) {
  Cp932Encoding result;
  result.bytes.resize(text.size() * 2);
  char* const begin = result.bytes.data();
  char* out = begin;
  for (const QChar character : text) {
    const int count = encode_cp932_unit(character.unicode(), out);
    if (count == 0) {
      *out++ = '?';
      result.complete = false;
    } else {
      out += count;
    }
  }
  result.bytes.truncate(out - begin);
  return result;
}

int cp932_byte_count(QChar character) {
  char out[2];
  return encode_cp932_unit(character.unicode(), out);
}

}  // namespace tsubakuro
