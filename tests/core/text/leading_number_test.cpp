#include "core/text/leading_number.h"

#include <gtest/gtest.h>

#include <QString>

#include <cmath>
#include <limits>

namespace tsubakuro {
namespace {

struct LeadingCase {
  const char16_t* text;
  double value;
};

class LeadingNumberTable : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTable, ReadsTheNumberAtTheStart) {
  const LeadingCase& c = GetParam();
  EXPECT_DOUBLE_EQ(leading_number(QStringView(c.text)), c.value)
      << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Values, LeadingNumberTable,
    ::testing::Values(LeadingCase{u"", 0}, LeadingCase{u"abc", 0}, LeadingCase{u"   ", 0},
                      LeadingCase{u"12", 12}, LeadingCase{u"007", 7},
                      // blanks are ignored anywhere, even between digits
                      LeadingCase{u" 1 2 3 ", 123}, LeadingCase{u"\t4\t5", 45},
                      LeadingCase{u"-15", -15}, LeadingCase{u"+15", 15}, LeadingCase{u"- 15", -15},
                      LeadingCase{u"--5", 0}, LeadingCase{u"5-3", 5}, LeadingCase{u"12.5", 12.5},
                      LeadingCase{u".5", 0.5}, LeadingCase{u"3.", 3}, LeadingCase{u"1.2.3", 1.2},
                      LeadingCase{u".", 0}, LeadingCase{u"-", 0},
                      // stops at the first character that cannot continue
                      LeadingCase{u"12,000", 12}, LeadingCase{u"30abc", 30}, LeadingCase{u"1e3", 1},
                      LeadingCase{u"１２", 0}, LeadingCase{u"\"5\"", 0}, LeadingCase{u"0x1F", 0}));

TEST(LeadingNumber, IgnoresTheLocaleDecimalSeparator) {
  // The amounts of a payment list always use a point, whatever the machine.
  EXPECT_DOUBLE_EQ(leading_number(u"1234.75"), 1234.75);
  EXPECT_DOUBLE_EQ(leading_number(u"1234,75"), 1234);
}

TEST(LeadingNumber, HugeDigitStringsGiveALargeFiniteNumber) {
  const QString many_digits(400, u'9');
  const double value = leading_number(many_digits);
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_GT(value, 1e300);
  EXPECT_LT(leading_number(QChar(u'-') + many_digits), -1e300);
  EXPECT_DOUBLE_EQ(leading_number(QStringLiteral("0.") + QString(400, u'0') + QChar(u'1')), 0.0);
  EXPECT_DOUBLE_EQ(leading_number(u"99999999999999999999"), 1e20);
}

struct RoundCase {
  double value;
  qint64 rounded;
};

class RoundHalfEvenTable : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTable, RoundsTiesToEven) {
  EXPECT_EQ(round_half_even(GetParam().value), GetParam().rounded) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenTable,
                         ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2},
                                           RoundCase{3.5, 4}, RoundCase{-0.5, 0},
                                           RoundCase{-1.5, -2}, RoundCase{-2.5, -2},
                                           RoundCase{2.4999, 2}, RoundCase{2.5001, 3},
                                           RoundCase{-2.6, -3}, RoundCase{1000.0, 1000},
                                           RoundCase{0.0, 0},
                                           RoundCase{4503599627370497.0, 4503599627370497}));

TEST(RoundHalfEven, SaturatesAndNeverOverflows) {
  constexpr qint64 kMax = std::numeric_limits<qint64>::max();
  constexpr qint64 kMin = std::numeric_limits<qint64>::min();
  EXPECT_EQ(round_half_even(1e19), kMax);
  EXPECT_EQ(round_half_even(9223372036854775807.0), kMax);  // that double is 2^63
  EXPECT_EQ(round_half_even(-1e19), kMin);
  EXPECT_EQ(round_half_even(-9223372036854775808.0), kMin);
  EXPECT_EQ(round_half_even(std::numeric_limits<double>::infinity()), kMax);
  EXPECT_EQ(round_half_even(-std::numeric_limits<double>::infinity()), kMin);
  EXPECT_EQ(round_half_even(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(round_half_even(leading_number(QString(400, u'9'))), kMax);
}

}  // namespace
}  // namespace tsubakuro
