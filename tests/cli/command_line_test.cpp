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

struct RefusalCase {
  QStringList arguments;
  const char* reason;
};

// The parser's own failures reach the user in the program's words, naming the
// argument as it was typed.
TEST(CommandLine, NamesWhatItRefuses) {
  const RefusalCase cases[] = {
      {{"--company"}, "--company の後に値を指定してください。"},
      {{"--kind", "振込", "--date"}, "--date の後に値を指定してください。"},
      {{"--verbose"}, "不明なオプションです: --verbose"},
      {{"--verbose=3"}, "不明なオプションです: --verbose"},
      {{"-x"}, "不明なオプションです: -x"},
      {{"-dir", "work"}, "不明なオプションです: -dir"},
      {{"-"}, "不明なオプションです: -"},
      {{"--"}, "不明なオプションです: --"},
      {{"--kind", "振込", "--", "サンプル商事"}, "不明なオプションです: --"},
      {{"--help=all"}, "--help に値は指定できません。"},
      {{"--kind", "振込", "サンプル商事"}, "余分な引数があります: サンプル商事"},
      // Every value is checked, not only the one that stands.
      {{"--kind", "送金", "--kind", "振込"},
       "--kind には 振込 か 振替 を指定してください（指定された値: 送金）。"},
      {{"--check-codes=on", "--check-codes", "maybe"},
       "--check-codes には on か off を指定してください（指定された値: maybe）。"},
  };
  for (const RefusalCase& refused : cases) {
    const ParsedCommandLine parsed = parse_command_line(refused.arguments);
    EXPECT_EQ(parsed.error,
              QString::fromUtf8(refused.reason) + QStringLiteral("\n") +
                  QStringLiteral("使い方は tsubakuro-convert --help で表示できます。"))
        << refused.arguments.join(u' ').toStdString();
  }
}

TEST(CommandLine, TakesValuesAsTypedAndTheLastOfARepeatedOption) {
  // An option's value is the next argument, whatever it looks like.
  ParsedCommandLine parsed =
      parse_command_line({QStringLiteral("--company"), QStringLiteral("--"),
                          QStringLiteral("--dir"), QStringLiteral("--kind")});
  ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
  EXPECT_EQ(parsed.request.company, QStringLiteral("--"));
  EXPECT_EQ(parsed.request.directory, QStringLiteral("--kind"));
  EXPECT_FALSE(parsed.request.kind);

  parsed = parse_command_line({QStringLiteral("--kind=振込"), QStringLiteral("--kind"),
                               QStringLiteral("　振替　"), QStringLiteral("--check-codes=ＯＦＦ"),
                               QStringLiteral("--date"), QStringLiteral("1/2"),
                               QStringLiteral("--date=４月５日")});
  ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
  EXPECT_EQ(parsed.request.kind, TransferKind::Debit);
  EXPECT_EQ(parsed.request.check_codes, false);
  EXPECT_EQ(parsed.request.transfer_date, TransferDate::from_stored(QStringLiteral("0405")));
  EXPECT_FALSE(parsed.show_help);
  EXPECT_FALSE(parsed.show_version);

  EXPECT_TRUE(parse_command_line({QStringLiteral("-h")}).show_help);
  parsed = parse_command_line({QStringLiteral("--version"), QStringLiteral("--kind=振込")});
  EXPECT_TRUE(parsed.show_version);
  EXPECT_EQ(parsed.request.kind, TransferKind::Credit);
}

TEST(CommandLine, ResultsTakeOnlyWhatReadingThemUses) {
  ParsedCommandLine parsed = parse_command_line(
      {QStringLiteral("--results"), QStringLiteral("FURIKAE.DAT"), QStringLiteral("--company=東京"),
       QStringLiteral("--failed-csv"), QStringLiteral("不能.csv")});
  ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
  EXPECT_EQ(parsed.results.bank_file, QStringLiteral("FURIKAE.DAT"));
  EXPECT_EQ(parsed.results.failed_csv, QStringLiteral("不能.csv"));
  EXPECT_EQ(parsed.request.company, QStringLiteral("東京"));

  const std::pair<QStringList, QString> refused[] = {
      {{QStringLiteral("--failed-csv=x.csv")},
       QStringLiteral("--failed-csv は --results と一緒に指定してください。")},
      {{QStringLiteral("--results=F.DAT"), QStringLiteral("--date=4/5")},
       QStringLiteral("--results と --date は一緒に指定できません。")},
      {{QStringLiteral("--results=F.DAT"), QStringLiteral("--check-codes=off")},
       QStringLiteral("--results と --check-codes は一緒に指定できません。")},
      {{QStringLiteral("--results=")},
       QStringLiteral("--results に銀行ファイルを指定してください。")},
  };
  for (const auto& [arguments, message] : refused) {
    parsed = parse_command_line(arguments);
    EXPECT_TRUE(parsed.error.startsWith(message)) << parsed.error.toStdString();
  }
  EXPECT_TRUE(help_text().contains(QStringLiteral("--results 銀行ファイル")));
}

TEST(CommandLine, HelpTellsWhatCtrlCLeavesBehind) {
  const QString help = help_text();
  EXPECT_TRUE(help.contains(QStringLiteral("出力ファイルは変更されず、前のファイルが残ります。")));
  EXPECT_TRUE(help.contains(QStringLiteral("「★★キャンセル★★」")));
  EXPECT_FALSE(help.contains(QStringLiteral("それまでのレコード")));
}

}  // namespace
}  // namespace tsubakuro::cli
