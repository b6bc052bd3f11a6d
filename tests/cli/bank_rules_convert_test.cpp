#include <gtest/gtest.h>
#include <QDate>
#include <QFile>

#include "cli/command_line.h"
#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kLog = QStringLiteral("サンプル商事.log");

// The sample company as the examples folder ships it, with the banks' rules on.
class BankRulesSample : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_sample_company();
    ASSERT_TRUE(QFile::copy(source_path(QStringLiteral("examples/tsubakuro.ini")),
                            QStringLiteral("tsubakuro.ini")));
  }
  static QStringList log_lines() {
    return decode_cp932(read_file(kLog)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  ScopedWorkingDir dir_;
};

// Small kana, ｦ and ｰ are single CP932 bytes A6 to B0; nothing else in that range.
bool holds_small_kana(const QByteArray& bank_file) {
  for (const char byte : bank_file) {
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0xA6 && value <= 0xB0) return true;
  }
  return false;
}

TEST_F(BankRulesSample, BothKindsConvertWithNoSmallKanaLeft) {
  const ConvertProcessResult credit = run_tsubakuro_convert({});
  EXPECT_EQ(credit.exit_code, 1) << "row 12 holds kanji, row 20 a 預金種目 of 3";
  const QByteArray credit_file = read_file(QStringLiteral("FURIKOMI.DAT"));
  ASSERT_FALSE(credit_file.isEmpty());
  EXPECT_FALSE(holds_small_kana(credit_file));
  const QStringList lines = log_lines();
  EXPECT_TRUE(
      lines.contains(QStringLiteral("\"補正：ヘッダの[5]会社名「ｻﾝﾌﾟﾙｼﾖｳｼﾞ」←「ｻﾝﾌﾟﾙｼｮｳｼﾞ」\"")))
      << lines.join('\n').toStdString();
  EXPECT_TRUE(
      lines.contains(QStringLiteral("\"補正：000007件目の[9]預金者名「ｲﾄｳ ｼﾖｳﾀ」←「ｲﾄｳ ｼｮｳﾀ」\"")));
  EXPECT_TRUE(lines.contains(
      QStringLiteral("\"ボディ：000012件目の[9]"
                     "預金者名が正しくありません。（使えない文字「山」「田」「花」「子」）\"")));
  EXPECT_TRUE(credit.standard_output.contains(QStringLiteral("名前を全銀協の文字に直した欄")))
      << credit.standard_output.toStdString();
  // Corrections are no errors: the summary lists the two errors only.
  EXPECT_FALSE(credit.standard_output.contains(QStringLiteral("補正：ヘッダ")));

  const ConvertProcessResult debit = run_tsubakuro_convert({QStringLiteral("--kind=振替")});
  EXPECT_EQ(debit.exit_code, 0) << debit.standard_output.toStdString();
  const QByteArray debit_file = read_file(QStringLiteral("FURIKAE.DAT"));
  ASSERT_FALSE(debit_file.isEmpty());
  EXPECT_FALSE(holds_small_kana(debit_file));
}

TEST_F(BankRulesSample, TurnedOffForOneRunTheSampleGivesTodaysBytes) {
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--check-characters"), QStringLiteral("off"),
                             QStringLiteral("--normalize-names=off")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(read_file(QStringLiteral("FURIKOMI.DAT")),
            read_file(source_path(QStringLiteral("tests/data/cli/sample_credit/FURIKOMI.DAT"))));
  EXPECT_FALSE(log_lines().join('\n').contains(QStringLiteral("補正")));
  EXPECT_FALSE(result.standard_output.contains(QStringLiteral("名前を全銀協の文字に直した欄")));
}

TEST_F(BankRulesSample, OneRuleCanBeTurnedOnAloneFromTheCommandLine) {
  QFile::remove(QStringLiteral("tsubakuro.ini"));
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--normalize-names"), QStringLiteral("on")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_FALSE(holds_small_kana(read_file(QStringLiteral("FURIKOMI.DAT"))));
  // Without the character check the kana set still judges the names: kanji fail
  // without a reason.
  EXPECT_TRUE(log_lines().contains(
      QStringLiteral("\"ボディ：000012件目の[9]預金者名が正しくありません。\"")));
}

TEST_F(BankRulesSample, ADateOnABankHolidayIsWarnedOnStandardError) {
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--kind=振替"), QStringLiteral("--date=1/1")});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("銀行休業日です（元日）")))
      << result.standard_error.toStdString();
  EXPECT_FALSE(result.standard_output.contains(QStringLiteral("銀行休業日")));
}

TEST(BankRulesArguments, TakeOnOrOffAndNothingElse) {
  const cli::ParsedCommandLine on_off =
      cli::parse_command_line({QStringLiteral("--check-characters=ON"),
                               QStringLiteral("--normalize-names"), QStringLiteral("off")});
  EXPECT_TRUE(on_off.error.isEmpty()) << on_off.error.toStdString();
  EXPECT_EQ(on_off.request.check_characters, true);
  EXPECT_EQ(on_off.request.normalize_names, false);

  const cli::ParsedCommandLine neither = cli::parse_command_line({});
  EXPECT_EQ(neither.request.check_characters, std::nullopt);
  EXPECT_EQ(neither.request.normalize_names, std::nullopt);

  for (const char* value : {"yes", "1", ""}) {
    const cli::ParsedCommandLine bad =
        cli::parse_command_line({QStringLiteral("--normalize-names"), QString::fromLatin1(value)});
    EXPECT_TRUE(bad.error.contains(QStringLiteral("on か off"))) << value;
  }
  EXPECT_TRUE(cli::help_text().contains(QStringLiteral("--check-characters on|off")));
  EXPECT_TRUE(cli::help_text().contains(QStringLiteral("--normalize-names on|off")));
}

}  // namespace
}  // namespace tsubakuro::testing
