#include <gtest/gtest.h>

#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

struct PaddingCase {
  QString value;
  int width;
  QString zero_right;
  QString space_left;
};

class Padding : public ::testing::TestWithParam<PaddingCase> {};

TEST_P(Padding, FillsAndCutsFromTheirSides) {
  const PaddingCase& c = GetParam();
  EXPECT_EQ(zero_right(c.value, c.width), c.zero_right);
  EXPECT_EQ(space_left(c.value, c.width), c.space_left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Padding,
    ::testing::Values(PaddingCase{"", 3, "000", "   "}, PaddingCase{"1", 3, "001", "1  "},
                      PaddingCase{"123", 3, "123", "123"}, PaddingCase{"12345", 3, "345", "123"},
                      PaddingCase{" 1", 3, "0 1", " 1 "}, PaddingCase{"-5", 4, "00-5", "-5  "},
                      PaddingCase{"ﾀﾅｶ", 4, "0ﾀﾅｶ", "ﾀﾅｶ "}));

TEST(Padding, ZeroRightTellsWhetherTheCutKeptTheValue) {
  EXPECT_TRUE(zero_right_keeps_value(u"123", 3));
  EXPECT_TRUE(zero_right_keeps_value(u"", 3));
  EXPECT_TRUE(zero_right_keeps_value(u"000123", 3));
  EXPECT_FALSE(zero_right_keeps_value(u"1123", 3));
  EXPECT_FALSE(zero_right_keeps_value(u"0 123", 3));  // a blank is no leading zero
  EXPECT_FALSE(zero_right_keeps_value(u"-0123", 4));
}

TEST(Trim, DropsOnlyHalfWidthBlanks) {
  EXPECT_EQ(trim_leading_spaces(u"  1 "), u"1 ");
  EXPECT_EQ(trim_leading_spaces(u"　1"), u"　1");
  EXPECT_EQ(trim_trailing_spaces(u" ｱ  "), u" ｱ");
  EXPECT_EQ(trim_leading_spaces(u"   "), u"");
}

// The quick row path cuts and trims the line's own bytes by the same rules.
TEST(Padding, BytesAreCutAndTrimmedAsText) {
  const QByteArrayView bytes = "  0012 ";
  const QStringView text = u"  0012 ";
  EXPECT_EQ(trim_leading_spaces(bytes), "0012 ");
  EXPECT_EQ(trim_trailing_spaces(bytes), "  0012");
  EXPECT_EQ(trim_leading_spaces(QByteArrayView("   ")), "");
  for (int width = 0; width <= 8; ++width) {
    SCOPED_TRACE(width);
    EXPECT_EQ(zero_right_keeps_value(bytes.sliced(2), width),
              zero_right_keeps_value(text.sliced(2), width));
    EXPECT_EQ(space_left_keeps_value(bytes, width), space_left_keeps_value(text, width));
    char room[8];
    QChar text_room[8];
    EXPECT_EQ(zero_right_into(trim_leading_spaces(bytes), width, room),
              zero_right(trim_leading_spaces(text), width).toLatin1());
    EXPECT_EQ(zero_right_into(trim_leading_spaces(text), width, text_room),
              zero_right(trim_leading_spaces(text), width));
  }
  EXPECT_FALSE(space_left_keeps_value(QByteArrayView("1 2"), 1));
  EXPECT_TRUE(space_left_keeps_value(QByteArrayView("1  "), 1));
}

// A kana is never kept without the voicing mark that followed it, on text and on
// the line's bytes alike.
TEST(Padding, ANameIsNeverCutBetweenAKanaAndItsVoicingMark) {
  const struct {
    const char16_t* name;
    int width;
    const char16_t* kept;
  } kCases[] = {
      {u"ｷﾞﾝｻﾞ", 5, u"ｷﾞﾝｻﾞ"},  // fits
      {u"ｷﾞﾝｻﾞ", 4, u"ｷﾞﾝ"},    // ｻ goes with its ﾞ
      {u"ｷﾞﾝｻﾞ", 3, u"ｷﾞﾝ"},
      {u"ｷﾞﾝｻﾞ", 2, u"ｷﾞ"},
      {u"ｷﾞﾝｻﾞ", 1, u""},
      {u"ﾊﾟﾝ", 1, u""},
      {u"ｱｲｳ", 2, u"ｱｲ"},
      {u"ﾎﾟﾟ", 2, u"ﾎﾟ"},  // a stray second mark cuts as any character
      {u"ﾐﾄﾞﾘﾉ ｼﾖｳｶｲ ﾄｳｷﾖｳ ﾊﾝﾊﾞｲﾌﾞ ｷﾞﾝｻﾞ", 30, u"ﾐﾄﾞﾘﾉ ｼﾖｳｶｲ ﾄｳｷﾖｳ ﾊﾝﾊﾞｲﾌﾞ ｷﾞﾝ"},
  };
  for (const auto& c : kCases) {
    const QString name = QString::fromUtf16(c.name);
    SCOPED_TRACE(name.toStdString() + " " + std::to_string(c.width));
    const QString kept = QString::fromUtf16(c.kept);
    EXPECT_EQ(space_left_name(name, c.width), space_left(kept, c.width));
    QByteArray bytes;
    for (const QChar ch : name) bytes.append(static_cast<char>(0xA1 + (ch.unicode() - 0xFF61)));
    EXPECT_EQ(name_kept_length(QByteArrayView(bytes), c.width), kept.size());
  }
}

}  // namespace
}  // namespace tsubakuro
