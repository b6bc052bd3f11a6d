#include <gtest/gtest.h>
#include <QFile>

#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kLog = QStringLiteral("サンプル商事.log");

// The sample company with its own settings file, which turns the code check on,
// and the shipped bank list.
class CheckCodes : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_sample_company();
    // Only the code check, so the bank file is the one converted without it.
    write_file(QStringLiteral("tsubakuro.ini"), "[bank_rules]\ncheck_codes=true\n");
  }
  static QString log_text() { return decode_cp932(read_file(kLog)); }
  ScopedWorkingDir dir_;
};

TEST_F(CheckCodes, TheSampleHoldsRealBanksAndConvertsAsWithoutTheCheck) {
  const ConvertProcessResult result = run_tsubakuro_convert({});
  EXPECT_EQ(result.exit_code, 1);  // the two rows wrong on purpose
  EXPECT_EQ(read_file(QStringLiteral("FURIKOMI.DAT")),
            read_file(source_path(QStringLiteral("tests/data/cli/sample_credit/FURIKOMI.DAT"))));
  EXPECT_FALSE(log_text().contains(QStringLiteral("銀行一覧"))) << log_text().toStdString();
  EXPECT_EQ(run_tsubakuro_convert({QStringLiteral("--kind"), QStringLiteral("振替")}).exit_code, 0);
  EXPECT_FALSE(log_text().contains(QStringLiteral("銀行一覧")));
}

TEST_F(CheckCodes, UnknownCodesAreErrorsAMisspeltNameAWarningAndOffChecksNothing) {
  write_cp932_file(
      QStringLiteral("振込データ.csv"),
      QStringLiteral("銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,名義,金額\r\n"
                     "9999,ﾐｽﾞﾎ,001,ﾄｳｷﾖｳ,1,1234567,ﾔﾏﾀﾞ ﾀﾛｳ,1000\r\n"
                     "0001,ﾐｽﾞﾎ,999,ﾄｳｷﾖｳ,1,1234567,ﾔﾏﾀﾞ ﾀﾛｳ,1000\r\n"
                     "0001,ﾐｽﾞﾎｷﾞﾝｺｳ,001,ﾄｳｷﾖｳ,1,1234567,ﾔﾏﾀﾞ ﾀﾛｳ,1000\r\n"));
  const QStringList told{
      "\"ボディ：000001件目の[2]"
      "振込銀行番号が正しくありません。（銀行一覧にない銀行番号「9999」）\"",
      "\"ボディ：000002件目の[4]"
      "振込支店番号が正しくありません。（銀行一覧にない支店番号「999」）\"",
      "\"注意：000003件目の[3]振込銀行名「ﾐｽﾞﾎｷﾞﾝｺｳ」は銀行一覧では「ﾐｽﾞﾎ」です。\"",
  };
  ConvertProcessResult result = run_tsubakuro_convert({});
  EXPECT_EQ(result.exit_code, 1);
  QStringList lines = log_text().split(QStringLiteral("\r\n"));
  EXPECT_EQ(lines.mid(2, 3), told) << log_text().toStdString();
  // Two errors; the warning is in the log but not counted among them.
  EXPECT_FALSE(result.standard_output.contains(QStringLiteral("注意：000003")));
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("注意: 1件（銀行一覧と違う名前")));

  result = run_tsubakuro_convert({QStringLiteral("--check-codes"), QStringLiteral("off")});
  EXPECT_EQ(result.exit_code, 0) << result.standard_output.toStdString();
  EXPECT_FALSE(log_text().contains(QStringLiteral("銀行一覧")));

  result = run_tsubakuro_convert({QStringLiteral("--check-codes=maybe")});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("--check-codes")));
}

}  // namespace
}  // namespace tsubakuro::testing
