#include "core/conversion/failed_debits_csv.h"

#include <gtest/gtest.h>

#include "core/text/cp932.h"
#include "debit_records.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

QString text(const QByteArray& bytes) { return decode_cp932(bytes); }

TransferSettings debit_columns(std::initializer_list<std::pair<int, int>> field_columns,
                               const QString& skipped = QString(), bool footer = false) {
  TransferSettings debit;
  for (const auto& [field, column] : field_columns)
    debit.body_columns[field - 2] = QString::number(column);
  debit.skip_header_rows = skipped;
  debit.skip_footer = footer;
  return debit;
}

const QByteArray kFailed =
    testing::debit_data_record({QStringLiteral("ｺﾝﾄﾞｳ ﾃﾂﾔ"), 5500, '1', 20250009});

TEST(FailedDebitsCsv, CompanyColumnsTakeTheirFieldsWithoutPadding) {
  // Bank code in 2, name in 4 (nothing in 3), amount in 5, customer in 6, and the
  // result code in 7, which the next month's list leaves blank.
  const FailedDebitsCsv layout = FailedDebitsCsv::for_company(
      debit_columns({{2, 2}, {9, 4}, {10, 5}, {12, 6}, {14, 7}}), false, builtin_field_names());
  EXPECT_FALSE(layout.is_fixed());
  EXPECT_TRUE(layout.heading().isEmpty());
  EXPECT_EQ(text(layout.row(kFailed)), QStringLiteral(",0001,,ｺﾝﾄﾞｳ ﾃﾂﾔ,5500,0020250009,\r\n"));
  EXPECT_TRUE(layout.footer({1, 5500}).isEmpty());
}

TEST(FailedDebitsCsv, SkippedRowsGetAHeadingAndASkippedFooterItsTotal) {
  const FailedDebitsCsv layout = FailedDebitsCsv::for_company(
      debit_columns({{2, 1}, {3, 1}, {10, 3}}, QStringLiteral("2"), true), false,
      builtin_field_names());
  EXPECT_EQ(text(layout.heading()), QStringLiteral("\r\n引落銀行番号,,引落金額\r\n"))
      << "a column that feeds two fields is the first one's";
  EXPECT_EQ(text(layout.row(kFailed)), QStringLiteral("0001,,5500\r\n"));
  EXPECT_EQ(text(layout.footer({2, 9900})), QStringLiteral("合計,,9900\r\n"));
}

TEST(FailedDebitsCsv, TwentyDigitCustomerNumberIsOneColumn) {
  const FailedDebitsCsv layout =
      FailedDebitsCsv::for_company(debit_columns({{12, 1}}), true, builtin_field_names());
  EXPECT_EQ(text(layout.row(kFailed)), QStringLiteral("00202500090000000000\r\n"));
}

TEST(FailedDebitsCsv, ValuesWithCommasOrQuotesAreQuoted) {
  const FailedDebitsCsv layout =
      FailedDebitsCsv::for_company(debit_columns({{9, 1}, {15, 2}}), false, builtin_field_names());
  QByteArray record = testing::debit_data_record({QStringLiteral("ｶ)ｱ,\"ｲ\""), 100, '2'});
  record.replace(112, 8, "memo,1  ");
  EXPECT_EQ(text(layout.row(record)), QStringLiteral("\"ｶ)ｱ,\"\"ｲ\"\"\",\"memo,1\"\r\n"));
}

// The fixed layout's rows are the converter's golden case (tests/data/cli/debit_results).
TEST(FailedDebitsCsv, CompanyThatMapsNoColumnGetsTheFixedLayout) {
  const FailedDebitsCsv layout =
      FailedDebitsCsv::for_company(TransferSettings{}, false, builtin_field_names());
  EXPECT_TRUE(layout.is_fixed());
  EXPECT_TRUE(text(layout.heading()).startsWith(QStringLiteral("引落銀行番号,引落銀行名,")));
  EXPECT_TRUE(text(layout.row(kFailed)).endsWith(QStringLiteral(",1,資金不足\r\n")));
}

TEST(WriteFailedDebits, TheBankFileItselfIsNeverTheTarget) {
  testing::ScopedWorkingDir dir;
  const QByteArray bank = testing::debit_bank_file({{QStringLiteral("ｲ"), 2000, '4'}});
  testing::write_file(QStringLiteral("FURIKAE.DAT"), bank);
  for (const QString& target : {QStringLiteral("FURIKAE.DAT"), QStringLiteral("./FURIKAE.DAT")}) {
    const Result<qint64> written = write_failed_debits(QStringLiteral("FURIKAE.DAT"), 120,
                                                       FailedDebitsCsv::fixed(false), target);
    EXPECT_TRUE(written.message().contains(QStringLiteral("自身に書き出すことはできません")));
  }
  EXPECT_EQ(testing::read_file(QStringLiteral("FURIKAE.DAT")), bank);
}

}  // namespace
}  // namespace tsubakuro
