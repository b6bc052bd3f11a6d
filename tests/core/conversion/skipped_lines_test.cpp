#include <gtest/gtest.h>

#include "run_fixture.h"

namespace tsubakuro {
namespace {

using testing::RunFixture;
using testing::write_cp932_file;

QString row(const QString& payee, const QString& account, const QString& amount) {
  return QStringLiteral("1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,%1,%2,%3,,,,,").arg(account, payee, amount);
}
QString row(const QString& payee, int amount) {
  return row(payee, QStringLiteral("1234567"), QString::number(amount));
}

const QString kFooterError = QStringLiteral(
    "ボディ：読み飛ばした最終行が支払いの行です（%1）。"
    "フッタのない一覧では「読み飛し ﾌｯﾀｰ」を外してください。");
const QString kHeadingError = QStringLiteral(
    "ボディ：読み飛ばした先頭行が支払いの行です（%1）。"
    "見出しのない一覧では「読み飛し ﾍｯﾀﾞ」を外してください。");

class SkippedLines : public ::testing::Test, public RunFixture {
 protected:
  // The body of the log: its lines between the start and the closing marker.
  QStringList convert_list(const QStringList& lines) {
    write_cp932_file(QStringLiteral("in.csv"), lines.join(QStringLiteral("\r\n")) + "\r\n");
    auto run = make_run();
    run_all(*run);
    EXPECT_TRUE(run->result().ok());
    has_errors = run->has_errors();
    row_count = run->row_count();
    const QStringList log = log_lines();
    return log.mid(2, log.size() - 3);
  }

  bool has_errors = false;
  qint64 row_count = 0;
};

// The list has no total row: its last payee would go unpaid.
TEST_F(SkippedLines, AFooterThatReadsAsAPaymentIsAnError) {
  company.credit.skip_footer = true;
  EXPECT_EQ(convert_list({row("ﾀﾅｶ", 1000), row("ﾌｼﾞﾀ ﾏｻﾙ", 5500)}),
            QStringList{kFooterError.arg("ﾌｼﾞﾀ ﾏｻﾙ 5,500円")});
  EXPECT_TRUE(has_errors);
  EXPECT_EQ(row_count, 1) << "the footer is still skipped";
}

TEST_F(SkippedLines, EveryHeadingLineThatReadsAsAPaymentIsAnError) {
  company.credit.skip_header_rows = "2";
  EXPECT_EQ(convert_list({row("ﾔﾏﾀﾞ ﾀﾛｳ", 1320000), "見出し", row("ﾀﾅｶ", 1), row("ｻﾄｳ", 2)}),
            QStringList{kHeadingError.arg("ﾔﾏﾀﾞ ﾀﾛｳ 1,320,000円")});
  EXPECT_TRUE(has_errors);
  EXPECT_EQ(row_count, 2);
  company.credit.skip_header_rows = "2";
  EXPECT_EQ(convert_list({row("ﾔﾏﾀﾞ", 10), row("ｽｽﾞｷ", 20), row("ﾀﾅｶ", 1)}),
            (QStringList{kHeadingError.arg("ﾔﾏﾀﾞ 10円"), kHeadingError.arg("ｽｽﾞｷ 20円")}));
}

// What the checks pass decides: a line whose bank, branch, account or amount
// would fail as a row, or whose amount is zero, is taken for the heading or
// the footer it was meant to be.
TEST_F(SkippedLines, LinesThatWouldFailAsRowsAreNoPayments) {
  company.credit.skip_header_rows = "1";
  company.credit.skip_footer = true;
  const QString good = row("ﾀﾅｶ", 100);
  const QStringList skipped[] = {
      {"銀行コード,銀行名,支店コード,支店名,,預金種目,口座番号,受取人名,振込金額"},
      {"合計,,,,,,,,8800,,,,,"},
      {",,,,,,,,8800,,,,,"},
      {"1,ﾐｽﾞﾎ,,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,"},
      {row("ﾀﾅｶ", "", "100")},
      {row("ﾀﾅｶ", "12345678", "100")},
      {row("ﾀﾅｶ", "1234567", "0")},
      {row("ﾀﾅｶ", "1234567", "12.5")},
  };
  for (const QStringList& line : skipped) {
    SCOPED_TRACE(line.first().toStdString());
    EXPECT_EQ(convert_list(line + QStringList{good} + line), QStringList{});
    EXPECT_FALSE(has_errors);
  }
}

// A payee's name may fail its check and the line still be a payment someone
// meant; other fields (the account type here) are no sign of a heading either.
TEST_F(SkippedLines, APaymentWithABadNameOrCodeIsStillAPayment) {
  company.credit.skip_footer = true;
  const QStringList log = convert_list({row("ﾀﾅｶ", 1), "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,3,1234567,田中,2000,,,,,"});
  EXPECT_EQ(log, QStringList{kFooterError.arg("田中 2,000円")});
}

}  // namespace
}  // namespace tsubakuro
