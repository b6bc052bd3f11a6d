#include "core/text/cp932.h"

#include <gtest/gtest.h>

namespace tsubakuro {
namespace {

TEST(Cp932, BackslashAndTildeStayAscii) {
  // Code page 932, not JIS X 0201: 0x5C is the backslash a Windows path holds.
  EXPECT_EQ(decode_cp932("C:\\data~1"), QStringLiteral("C:\\data~1"));
  EXPECT_EQ(encode_cp932(u"C:\\data~1").bytes, QByteArray("C:\\data~1"));
}

TEST(Cp932, HalfWidthKatakanaIsOneByte) {
  const QByteArray bytes("\xC0\xC5\xB6 \xC0\xDB\xB3");  // ﾀﾅｶ ﾀﾛｳ
  EXPECT_EQ(decode_cp932(bytes), QStringLiteral("ﾀﾅｶ ﾀﾛｳ"));
  EXPECT_EQ(encode_cp932(u"ﾀﾅｶ ﾀﾛｳ").bytes, bytes);
  EXPECT_EQ(cp932_byte_count(QChar(u'ｱ')), 1);
}

TEST(Cp932, DoubleByteCharactersRoundTrip) {
  const QString text = QStringLiteral("株式会社サンプル商事　①～");
  const Cp932Encoding encoded = encode_cp932(text);
  EXPECT_TRUE(encoded.complete);
  EXPECT_EQ(encoded.bytes.size(), text.size() * 2);
  EXPECT_EQ(decode_cp932(encoded.bytes), text);
  EXPECT_EQ(cp932_byte_count(QChar(u'株')), 2);
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters) {
  // A lone lead byte at the end, an undefined single byte, and a lead byte whose
  // second byte is a line end: the line end must survive.
  EXPECT_EQ(decode_cp932("A\x81"), QStringLiteral("A\uFFFD"));
  EXPECT_EQ(decode_cp932("\xA0"
                         "B"),
            QStringLiteral("\uFFFD"
                           "B"));
  EXPECT_EQ(decode_cp932("\x81\n"
                         "C"),
            QStringLiteral("\uFFFD\nC"));
}

TEST(Cp932, CharacterCountIsTheDecodedLength) {
  // Pairs, half-width kana, a lead byte before a byte that trails nothing, one
  // before a trail byte that makes no character, and a lone lead byte at the end.
  const QByteArray cases[] = {"",
                              "abc",
                              "\xB1\xB2\xDE",
                              "\x8B\x8B\x97\x5E,x",
                              "\x81\n\x81,",
                              "\x85\x40\x85\x7F",
                              "\xEF\x40\xFC\xFC",
                              "\x80\xA0\xFD\xFE\xFF",
                              "A\x81",
                              "\x81\x81\x81"};
  for (const QByteArray& bytes : cases)
    EXPECT_EQ(cp932_character_count(bytes), decode_cp932(bytes).size()) << bytes.toHex().data();
}

TEST(Cp932, CharactersWithoutACp932FormAreReported) {
  const Cp932Encoding encoded = encode_cp932(u"A😀B");
  EXPECT_FALSE(encoded.complete);
  EXPECT_EQ(encoded.bytes, QByteArray("A??B"));  // one mark per UTF-16 unit
  EXPECT_EQ(cp932_byte_count(QChar(u'€')), 0);
  EXPECT_FALSE(encode_cp932(u"한").complete);
}

}  // namespace
}  // namespace tsubakuro
