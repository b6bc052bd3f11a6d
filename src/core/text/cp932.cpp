#include "core/text/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tsubakuro {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// iconv descriptors are costly to open and hold shift state, so each thread keeps
// one pair and resets it before every use.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one unit; returns the bytes written to out, or -1 when the input
  // unit has no form in the target.
  int convert(const char* in, size_t in_size, char* out, size_t out_size) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = out;
    size_t in_left = in_size;
    size_t out_left = out_size;
    if (iconv(handle_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1))
      return -1;
    return static_cast<int>(out_size - out_left);
  }

 private:
  iconv_t handle_;
};

Converter& decoder() {
  thread_local Converter converter("UTF-16LE", "CP932");
  return converter;
}

Converter& encoder() {
  thread_local Converter converter("CP932", "UTF-16LE");
  return converter;
}

bool is_half_width_katakana_byte(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }

bool is_lead_byte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool is_trail_byte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The bytes a payment list is mostly made of map without iconv.
bool decode_single(unsigned char byte, char16_t* out) {
  if (byte < 0x80) {
    *out = byte;
    return true;
  }
  if (is_half_width_katakana_byte(byte)) {
    *out = static_cast<char16_t>(0xFF61 + (byte - 0xA1));
    return true;
  }
  return false;
}

char16_t decode_pair(unsigned char lead, unsigned char trail) {
  const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  char out[4];
  const int written = decoder().convert(in, 2, out, sizeof out);
  if (written != 2) return kReplacement;
  return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                               (static_cast<unsigned char>(out[1]) << 8));
}

// Encodes one UTF-16 unit; returns the byte count (1 or 2) or 0.
int encode_unit(char16_t unit, char* out) {
  if (unit < 0x80) {
    out[0] = static_cast<char>(unit);
    return 1;
  }
  if (unit >= 0xFF61 && unit <= 0xFF9F) {
    out[0] = static_cast<char>(0xA1 + (unit - 0xFF61));
    return 1;
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return 0;  // CP932 holds nothing beyond the BMP
  const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  const int written = encoder().convert(in, 2, out, 2);
  return written > 0 ? written : 0;
}

}  // namespace

QString decode_cp932(QByteArrayView bytes) {
  QString text;
  text.reserve(bytes.size());
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size; ++i) {
    char16_t unit;
    if (decode_single(data[i], &unit)) {
      text.append(QChar(unit));
    } else if (is_lead_byte(data[i]) && i + 1 < size) {
      const char16_t decoded = decode_pair(data[i], data[i + 1]);
      text.append(QChar(decoded));
      // An invalid trail byte may itself start the next character.
      if (decoded != kReplacement || is_trail_byte(data[i + 1])) ++i;
    } else {
      text.append(QChar(kReplacement));
    }
  }
  return text;
}

Cp932Encoding encode_cp932(QStringView text) {
  Cp932Encoding result;
  result.bytes.reserve(text.size());
  char out[2];
  for (const QChar character : text) {
    const int count = encode_unit(character.unicode(), out);
    if (count == 0) {
      result.bytes.append('?');
      result.complete = false;
    } else {
      result.bytes.append(out, count);
    }
  }
  return result;
}

int cp932_byte_count(QChar character) {
  char out[2];
  return encode_unit(character.unicode(), out);
}

}  // namespace tsubakuro
