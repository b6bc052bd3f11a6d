#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace tsubakuro::cli {
namespace {

struct DateCase {
  const char* typed;
  const char* stored;  // nullptr: refused
};

void PrintTo(const DateCase& date, std::ostream* out) { *out << '"' << date.typed << '"'; }

class TransferDateForms : public ::testing::TestWithParam<DateCase> {};

TEST_P(TransferDateForms, StoreMonthAndDayAsTheDatePromptDoes) {
  const DateCase& date = GetParam();
  const std::optional<TransferDate> parsed = parse_transfer_date(QString::fromUtf8(date.typed));
  if (date.stored == nullptr) {
    EXPECT_FALSE(parsed) << date.typed << " gave " << parsed->stored().toStdString();
  } else {
    ASSERT_TRUE(parsed) << date.typed;
    EXPECT_EQ(parsed->stored(), QString::fromUtf8(date.stored)) << date.typed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TransferDateForms,
    ::testing::Values(DateCase{"0405", "0405"}, DateCase{"4/5", "0405"}, DateCase{"04/05", "0405"},
                      DateCase{"12/1", "1201"}, DateCase{"4-5", "0405"}, DateCase{"4.25", "0425"},
                      DateCase{"4月5日", "0405"}, DateCase{"４／５", "0405"},
                      DateCase{"０４０５", "0405"}, DateCase{" 1231 ", "1231"},
                      // Not a date, but stored as typed: the header's check logs it.
                      DateCase{"1340", "1340"}, DateCase{"13/40", "1340"},
                      // Ambiguous or no month and day at all.
                      DateCase{"405", nullptr}, DateCase{"40512", nullptr}, DateCase{"4/", nullptr},
                      DateCase{"/5", nullptr}, DateCase{"123/4", nullptr},
                      DateCase{"ab12", nullptr}, DateCase{"", nullptr}));

TEST(CommandLine, TakesEveryOptionInBothSpellings) {
  const ParsedCommandLine parsed = parse_command_line(
      {QStringLiteral("--dir=/tmp/work"), QStringLiteral("--company"), QStringLiteral("丸三 商店"),
       QStringLiteral("--kind"), QStringLiteral("振替"), QStringLiteral("--date=4/5")});
  ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
  EXPECT_FALSE(parsed.show_help);
  EXPECT_EQ(parsed.request.directory, QStringLiteral("/tmp/work"));
  EXPECT_EQ(parsed.request.company, QStringLiteral("丸三 商店"));
  EXPECT_EQ(parsed.request.kind, TransferKind::Debit);
  EXPECT_EQ(parsed.request.transfer_date, TransferDate::from_stored(QStringLiteral("0405")));
}

TEST(CommandLine, LeavesWhatIsNotGivenToTheSettings) {
  const ParsedCommandLine parsed = parse_command_line({});
  EXPECT_TRUE(parsed.error.isEmpty());
  EXPECT_TRUE(parsed.request.directory.isEmpty());
  EXPECT_FALSE(parsed.request.company);
  EXPECT_FALSE(parsed.request.kind);
  EXPECT_FALSE(parsed.request.transfer_date);
  EXPECT_EQ(parse_command_line({QStringLiteral("--kind"), QStringLiteral("振込")}).request.kind,
            TransferKind::Credit);
}

TEST(CommandLine, RefusesWhatItCannotUseWithAJapaneseReason) {
  const QList<QStringList> bad = {
      {QStringLiteral("--kind"), QStringLiteral("送金")},
      {QStringLiteral("--date"), QStringLiteral("405")},
      {QStringLiteral("--company")},
      {QStringLiteral("--dir=")},
      {QStringLiteral("--verbose")},
      {QStringLiteral("サンプル商事")},
  };
  for (const QStringList& arguments : bad) {
    const ParsedCommandLine parsed = parse_command_line(arguments);
    EXPECT_FALSE(parsed.error.isEmpty()) << arguments.join(' ').toStdString();
    EXPECT_TRUE(parsed.error.contains(QStringLiteral("--help"))) << parsed.error.toStdString();
  }
}

}  // namespace
}  // namespace tsubakuro::cli
