#include "core/workbook/sheet_text.h"

#include <gtest/gtest.h>

#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

TEST(SheetText, NumbersAsTheSuitesStandardFormatWritesThem) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {12345678901234567890.0, "1.23456789012346E+019"},
      {0, "0"},
      {-0.5, "-0.5"},
      {1234567, "1234567"},
      {220.5, "220.5"},
      // Whole numbers the mantissa holds exactly are written in full, past 15 digits.
      {1e15, "1000000000000000"},
      {1234567890123456, "1234567890123456"},
      {1e16, "1E+016"},
      {1.1e16, "1.1E+016"},
      {12345678901234567.0, "1.23456789012346E+016"},
      {-1e20, "-1E+020"},
      {1e100, "1E+100"},
      // Fractions keep 15 significant digits, with no exponent down to 1E-014.
      {123456.7890123456789, "123456.789012346"},
      {99999999999999.99, "100000000000000"},
      {0.000012345, "0.000012345"},
      {1e-10, "0.0000000001"},
      {1.5e-7, "0.00000015"},
      {1e-15, "1E-015"},
      {-1.5e-18, "-1.5E-018"},
      {1.23456789e-20, "1.23456789E-020"},
      {1e-300, "1E-300"},
      // Rounded half up from the shortest digits that give the value back, not from
      // the binary value (0.97029572627599649…).
      {0.9702957262759965, "0.970295726275997"},
      {-0.9702957262759965, "-0.970295726275997"},
      {0.1234567890123455, "0.123456789012346"},
      {0.12345678901234549, "0.123456789012345"},
      // The form follows those digits before rounding: 1E-14 is 9.99…E-15 in binary.
      {1e-14, "0.00000000000001"},
      {1.25e-14, "0.0000000000000125"},
      {9.999999999999999e-15, "1E-014"},
      {2.5e-15, "2.5E-015"},
      {999999999999999.9, "1000000000000000"},
      {1.0000000000000002e15, "1E+015"},
      {4503599627370495.5, "4.5035996273705E+015"},
      // Past the largest double when rounded: every digit kept.
      {1.7976931348623157e308, "1.7976931348623157E+308"},
      {1.7976931348623155e308, "1.7976931348623155E+308"},
      {-1.7976931348623157e308, "-1.7976931348623157E+308"},
      {2.2250738585072014e-308, "2.2250738585072E-308"},
      // A number too small for a normal double is 0.
      {1e-310, "0"},
      {-5e-324, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sheet_number_text(c.value), QLatin1String(c.text)) << c.text;
  }
}

TEST(SheetText, DatesFollowTheLocaleTheSuiteRunsIn) {
  const SheetMoment morning{QDate(2024, 4, 5), QTime(9, 5, 7)};
  const SheetMoment afternoon{QDate(2024, 4, 25), QTime(13, 45, 10)};
  EXPECT_EQ(sheet_date_text(morning, DateKind::Date, SheetLocale::English), u"04/05/2024");
  EXPECT_EQ(sheet_date_text(afternoon, DateKind::DateTime, SheetLocale::English),
            u"04/25/2024 13:45:10");
  EXPECT_EQ(sheet_date_text(afternoon, DateKind::Time, SheetLocale::English), u"01:45:10 PM");
  EXPECT_EQ(
      sheet_date_text({QDate(2024, 1, 1), QTime(0, 0, 5)}, DateKind::Time, SheetLocale::English),
      u"12:00:05 AM");
  EXPECT_EQ(sheet_date_text(morning, DateKind::Date, SheetLocale::Japanese), u"2024/04/05");
  EXPECT_EQ(sheet_date_text(morning, DateKind::DateTime, SheetLocale::Japanese),
            u"2024/4/5 9:05:07");
  EXPECT_EQ(sheet_date_text(afternoon, DateKind::DateTime, SheetLocale::Japanese),
            u"2024/4/25 13:45:10");
  EXPECT_EQ(sheet_date_text(morning, DateKind::IsoDate, SheetLocale::English), u"2024-04-05");
  EXPECT_EQ(sheet_date_text(morning, DateKind::IsoDateTime, SheetLocale::Japanese),
            u"2024-04-05 09:05:07");
  EXPECT_EQ(sheet_date_text(afternoon, DateKind::Time, SheetLocale::Japanese), u"13:45:10");
}

TEST(SheetText, TimesOfDayShowHundredthsOfASecondWhenTheyHaveThem) {
  const struct {
    double seconds;
    SheetLocale locale;
    const char* text;
  } cases[] = {
      {9 * 3600 + 30 * 60 + 15, SheetLocale::Japanese, "09:30:15"},
      {9 * 3600 + 30 * 60 + 15, SheetLocale::English, "09:30:15 AM"},
      {0, SheetLocale::Japanese, "00:00:00"},
      {0, SheetLocale::English, "12:00:00 AM"},
      // With hundredths, in neither locale's form, and without hours under an hour.
      {8 * 3600 + 5 * 60 + 7.25, SheetLocale::Japanese, "08:05:07.25"},
      {14 * 3600 + 59.9, SheetLocale::English, "14:00:59.90"},
      {5 * 60 + 7.25, SheetLocale::Japanese, "05:07.25"},
      // A thousandth is rounded to the second first: no hundredths show.
      {9 * 3600 + 0.001, SheetLocale::Japanese, "09:00:00"},
      {86399.996, SheetLocale::Japanese, ""},
      {86400, SheetLocale::Japanese, ""},
      {-1, SheetLocale::Japanese, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sheet_time_text(c.seconds / 86400, c.locale), QLatin1String(c.text)) << c.text;
  }
}

TEST(SheetText, SerialDaysCountFromEitherOrigin) {
  const auto day = moment_from_serial(45407, false);
  ASSERT_TRUE(day);
  EXPECT_EQ(day->date, QDate(2024, 4, 25));
  EXPECT_EQ(day->time, QTime(0, 0));
  const auto with_time = moment_from_serial(45407.5729166667, false);
  ASSERT_TRUE(with_time);
  EXPECT_EQ(with_time->time, QTime(13, 45));
  EXPECT_EQ(moment_from_serial(0, true)->date, QDate(1904, 1, 1));
  EXPECT_EQ(moment_from_serial(-0.25, false)->date, QDate(1899, 12, 29));
  EXPECT_EQ(moment_from_serial(-0.25, false)->time, QTime(18, 0));
  EXPECT_FALSE(moment_from_serial(1e9, false));
}

TEST(SheetText, TextFieldsAreQuotedOnlyWhenTheyMustBe) {
  const auto field = [](QStringView text) {
    QByteArray out;
    append_text_field(out, text);
    return out;
  };
  EXPECT_EQ(field(u"0005"), "0005");
  EXPECT_EQ(field(u" ﾀﾅｶ ﾀﾛｳ "), encode_cp932(u" ﾀﾅｶ ﾀﾛｳ ").bytes);
  EXPECT_EQ(field(u"ﾕｳﾁｮ,ｷﾞﾝｺｳ"), encode_cp932(u"\"ﾕｳﾁｮ,ｷﾞﾝｺｳ\"").bytes);
  EXPECT_EQ(field(u"a\"b"), "\"a\"\"b\"");
  // A row stays one line: each line break inside the quotes becomes one space.
  EXPECT_EQ(field(u"a\nb\r\nc\rd"), "\"a b c d\"");
  // One mark per character CP932 lacks, a character beyond the BMP included.
  EXPECT_EQ(field(u"€😀한株"), QByteArray("???") + encode_cp932(u"株").bytes);
}

}  // namespace
}  // namespace tsubakuro
