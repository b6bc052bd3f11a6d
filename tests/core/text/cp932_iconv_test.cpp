// The codec's tables against glibc's iconv "CP932", the converter the payment lists
// have always been read and written with: every two-byte input and every BMP code
// point must come out as iconv makes them, with the codec's own rules for what iconv
// refuses (U+FFFD for bytes, "?" for characters).
#include <iconv.h>

#include <gtest/gtest.h>

#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // The bytes written for the whole input, or -1 when iconv refuses it.
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

char16_t unit_at(const char* utf16le) {
  return static_cast<char16_t>(static_cast<unsigned char>(utf16le[0]) |
                               (static_cast<unsigned char>(utf16le[1]) << 8));
}

// What a two-byte input decodes to, from iconv: each character on its own, a lead
// byte followed by anything iconv does not take as its pair becomes U+FFFD and
// leaves the second byte to start a character of its own unless it is a trail byte.
QString reference_decode(Iconv& iconv, unsigned char first, unsigned char second) {
  const auto single = [&](unsigned char byte) -> QChar {
    if (byte < 0x80) return QChar(byte);
    if (byte >= 0xA1 && byte <= 0xDF) return QChar(char16_t(0xFF61 + byte - 0xA1));
    return QChar(0xFFFD);
  };
  const bool lead = (first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xFC);
  if (!lead) return QString(single(first)) + single(second);
  const char in[2] = {static_cast<char>(first), static_cast<char>(second)};
  char out[8];
  if (iconv.convert(in, 2, out, sizeof out) == 2) return QString(QChar(unit_at(out)));
  const bool trail = (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFC);
  if (trail) return QString(QChar(0xFFFD));
  return QString(QChar(0xFFFD)) + single(second);
}

TEST(Cp932AgainstIconv, EveryTwoByteInputDecodesAsIconvDoes) {
  Iconv iconv("UTF-16LE", "CP932");
  ASSERT_TRUE(iconv.valid());
  int mismatches = 0;
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const char bytes[2] = {static_cast<char>(first), static_cast<char>(second)};
      const QString expected = reference_decode(iconv, first, second);
      const QString decoded = decode_cp932(QByteArrayView(bytes, 2));
      if (decoded != expected && ++mismatches <= 10) {
        ADD_FAILURE() << QStringLiteral("%1 %2: %3 instead of %4")
                             .arg(first, 2, 16, QChar(u'0'))
                             .arg(second, 2, 16, QChar(u'0'))
                             .arg(decoded.toUcs4().value(0), 0, 16)
                             .arg(expected.toUcs4().value(0), 0, 16)
                             .toStdString();
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Cp932AgainstIconv, EveryBmpCodePointEncodesAsIconvDoes) {
  Iconv iconv("CP932", "UTF-16LE");
  ASSERT_TRUE(iconv.valid());
  int mismatches = 0;
  for (int code = 0; code < 0x10000; ++code) {
    const char16_t unit = static_cast<char16_t>(code);
    QByteArray expected;
    if (code < 0xD800 || code > 0xDFFF) {
      const char in[2] = {static_cast<char>(code & 0xFF), static_cast<char>(code >> 8)};
      char out[8];
      const int written = iconv.convert(in, 2, out, sizeof out);
      if (written > 0) expected = QByteArray(out, written);
    }
    const Cp932Encoding encoded = encode_cp932(QStringView(&unit, 1));
    const int count = cp932_byte_count(QChar(unit));
    const bool agrees = expected.isEmpty() ? !encoded.complete && encoded.bytes == "?" && count == 0
                                           : encoded.complete && encoded.bytes == expected &&
                                                 count == expected.size();
    if (!agrees && ++mismatches <= 10) {
      ADD_FAILURE() << QStringLiteral("U+%1: %2 instead of %3")
                           .arg(code, 4, 16, QChar(u'0'))
                           .arg(QString::fromLatin1(encoded.bytes.toHex()),
                                QString::fromLatin1(expected.toHex()))
                           .toStdString();
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Cp932AgainstIconv, LongTextRoundTripsLikeIconv) {
  // Every character CP932 decodes to, one after another: the encoder must give
  // back the bytes iconv gives for the whole text at once.
  QString text;
  for (int code = 0x20; code < 0x10000; ++code) {
    const char16_t unit = static_cast<char16_t>(code);
    if (cp932_byte_count(QChar(unit)) > 0) text.append(QChar(unit));
  }
  Iconv iconv("CP932", "UTF-16LE");
  ASSERT_TRUE(iconv.valid());
  QByteArray expected(text.size() * 2, '\0');
  const int written = iconv.convert(reinterpret_cast<const char*>(text.utf16()), text.size() * 2,
                                    expected.data(), expected.size());
  ASSERT_GT(written, 0);
  expected.truncate(written);
  const Cp932Encoding encoded = encode_cp932(text);
  EXPECT_TRUE(encoded.complete);
  EXPECT_EQ(encoded.bytes, expected);
  Iconv back("UTF-16LE", "CP932");
  QByteArray utf16(expected.size() * 2, '\0');
  const int decoded_size =
      back.convert(expected.constData(), expected.size(), utf16.data(), utf16.size());
  ASSERT_GT(decoded_size, 0);
  EXPECT_EQ(decode_cp932(expected),
            QString(reinterpret_cast<const QChar*>(utf16.constData()), decoded_size / 2));
}

}  // namespace
}  // namespace tsubakuro
