#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>

#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_file;

// The log describes the bank file beside it: the new one replaces the old only
// when the run commits both.
TEST(ConversionLog, WritesQuotedCp932LinesAndTakesTheOldLogsPlaceOnCommit) {
  ScopedWorkingDir dir;
  write_file(u"サンプル商事.log"_qs, "\"old run\"\r\n");
  ConversionLog log(u"サンプル商事.log"_qs);
  ASSERT_TRUE(log.reset_log());
  ASSERT_TRUE(log.append_log(u"サンプル商事【ｻﾝﾌﾟﾙｼｮｳｼﾞ】:振込"));
  ASSERT_TRUE(log.append_log(u"★★変換終了★★ 2026/01/02 3:04:05"));
  EXPECT_EQ(read_file(u"サンプル商事.log"_qs), "\"old run\"\r\n");
  ASSERT_TRUE(log.commit());
  EXPECT_EQ(decode_cp932(read_file(u"サンプル商事.log"_qs)),
            u"\"サンプル商事【ｻﾝﾌﾟﾙｼｮｳｼﾞ】:振込\"\r\n\"★★変換終了★★ 2026/01/02 3:04:05\"\r\n"_qs);
  EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ConversionLog, WithoutCommitTheOldLogStaysAndNothingIsLeftBehind) {
  ScopedWorkingDir dir;
  write_file(u"a.log"_qs, "\"old run\"\r\n");
  {
    ConversionLog log(u"a.log"_qs);
    ASSERT_TRUE(log.reset_log());
    ASSERT_TRUE(log.append_log(u"first"));
  }
  EXPECT_EQ(read_file(u"a.log"_qs), "\"old run\"\r\n");
  EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{u"a.log"_qs});
}

TEST(ConversionLog, AFileThatCannotBeWrittenIsReportedByName) {
  ScopedWorkingDir dir;
  // A regular file where a folder should be stops the write even for root.
  write_file(u"plain"_qs, "x");
  ConversionLog log(u"plain/会社.log"_qs);
  const Result<void> reset = log.reset_log();
  EXPECT_FALSE(reset);
  EXPECT_TRUE(reset.message().contains(u"plain/会社.log"_qs)) << reset.message().toStdString();
  const Result<void> appended = log.append_log(u"line");
  EXPECT_FALSE(appended);
  EXPECT_TRUE(appended.message().contains(u"plain/会社.log"_qs));
}

TEST(LogTimestamp, UsesTheJapaneseFormatsWhateverTheLocale) {
  const QDateTime moment(QDate(2026, 3, 5), QTime(9, 7, 3));
  EXPECT_EQ(log_timestamp(moment), u"2026/03/05 9:07:03"_qs);
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
  EXPECT_EQ(log_timestamp(moment), u"2026/03/05 9:07:03"_qs);
  EXPECT_EQ(log_timestamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))),
            u"2026/12/31 23:59:59"_qs);
  QLocale::setDefault(previous);
}

class FieldErrorMessages : public ::testing::Test {
 protected:
  FieldTable names_ = builtin_field_names();
};

TEST_F(FieldErrorMessages, HeaderAndTrailerNameTheFieldNumber) {
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, false, 1, 12, 0),
            u"ヘッダ：[12]口座番号が正しくありません。"_qs);
  EXPECT_EQ(compose_field_error(names_, TransferKind::Debit, false, 1, 6, 0),
            u"ヘッダ：[6]振替指定日が正しくありません。"_qs);
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, false, 8, 3, 99),
            u"トレーラ：[3]合計金額が正しくありません。"_qs);
  // The 20-digit option does not renumber the header or the trailer.
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, true, 1, 13, 0),
            u"ヘッダ：[13]未使用が正しくありません。"_qs);
}

TEST_F(FieldErrorMessages, DataRecordsCarryASixDigitRecordNumber) {
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, false, 2, 8, 7),
            u"ボディ：000007件目の[8]口座番号が正しくありません。"_qs);
  EXPECT_EQ(compose_field_error(names_, TransferKind::Debit, false, 2, 10, 999999),
            u"ボディ：999999件目の[10]引落金額が正しくありません。"_qs);
  // Of a longer number only the last six digits remain.
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, false, 2, 2, 1234567),
            u"ボディ：234567件目の[2]振込銀行番号が正しくありません。"_qs);
}

TEST(LongRowError, KeepsTheSixDigitsOfEveryOtherDataLine) {
  EXPECT_EQ(compose_long_row_error(12), u"ボディ：000012件目の行が長すぎます。"_qs);
  // A list past 999,999 rows used to get a seven-digit number here alone.
  EXPECT_EQ(compose_long_row_error(1000001), u"ボディ：000001件目の行が長すぎます。"_qs);
}

struct NumberingCase {
  TransferKind transfer;
  bool twenty_digit;
  int field;
  int shown;
  const char16_t* name;
};

class TwentyDigitNumbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(TwentyDigitNumbering, FieldsAfterTheMergedPairMoveDownOne) {
  const NumberingCase& c = GetParam();
  EXPECT_EQ(compose_field_error(builtin_field_names(), c.transfer, c.twenty_digit, 2, c.field, 1),
            QStringLiteral("ボディ：000001件目の[%1]%2が正しくありません。")
                .arg(c.shown)
                .arg(QString::fromUtf16(c.name)));
}

INSTANTIATE_TEST_SUITE_P(
    BothKinds, TwentyDigitNumbering,
    ::testing::Values(NumberingCase{TransferKind::Credit, true, 14, 13, u"振込指定区分"},
                      NumberingCase{TransferKind::Credit, true, 15, 14, u"未使用"},
                      NumberingCase{TransferKind::Credit, true, 13, 13, u"その他分類"},
                      NumberingCase{TransferKind::Credit, true, 11, 11, u"新規コード"},
                      NumberingCase{TransferKind::Credit, false, 14, 14, u"振込指定区分"},
                      NumberingCase{TransferKind::Debit, true, 14, 13, u"振替結果コード"},
                      NumberingCase{TransferKind::Debit, true, 12, 12, u"引落取引先番号"},
                      NumberingCase{TransferKind::Debit, false, 14, 14, u"振替結果コード"}));

TEST_F(FieldErrorMessages, UseTheWorkingNames) {
  names_.of(TransferKind::Credit, RecordKind::Data)[8] = u"受取人,名"_qs;
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, false, 2, 9, 3),
            u"ボディ：000003件目の[9]受取人,名が正しくありません。"_qs);
  names_.of(TransferKind::Credit, RecordKind::Header)[4] = u"%1社名"_qs;
  EXPECT_EQ(compose_field_error(names_, TransferKind::Credit, false, 1, 5, 0),
            u"ヘッダ：[5]%1社名が正しくありません。"_qs);
}

TEST(ReportFieldError, AppendsTheComposedLineToTheLog) {
  ScopedWorkingDir dir;
  ConversionLog log(u"x.log"_qs);
  ASSERT_TRUE(log.reset_log());
  ASSERT_TRUE(report_field_error(log, builtin_field_names(), TransferKind::Debit, true, 2, 14, 12));
  ASSERT_TRUE(log.commit());
  EXPECT_EQ(decode_cp932(read_file(u"x.log"_qs)),
            u"\"ボディ：000012件目の[13]振替結果コードが正しくありません。\"\r\n"_qs);
}

}  // namespace
}  // namespace tsubakuro
