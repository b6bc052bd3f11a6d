#include "core/zengin/debit_results.h"

#include <gtest/gtest.h>
#include <QFile>

#include "debit_records.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::DebitLine;

TEST(DebitResultTally, CountsBlankAndUnknownCodesAsNotDebited) {
  DebitResultTally tally;
  for (const DebitLine& line : QList<DebitLine>{{QStringLiteral("ｱ"), 5500, '0'},
                                                {QStringLiteral("ｲ"), 3300, '1'},
                                                {QStringLiteral("ｳ"), 1100, '1'},
                                                {QStringLiteral("ｴ"), 8800, '9'},
                                                {QStringLiteral("ｵ"), 200, ' '},
                                                {QStringLiteral("ｶ"), 11000, '0'}})
    tally.add(testing::debit_data_record(line));

  EXPECT_EQ(tally.records(), (DebitFigures{6, 29900}));
  EXPECT_EQ(tally.debited(), (DebitFigures{2, 16500}));
  EXPECT_EQ(tally.not_debited(), (DebitFigures{4, 13400}));
  EXPECT_TRUE(tally.has_failure_codes());
  EXPECT_EQ(debit_result_summary(tally),
            QStringLiteral("振替済 2件 ¥16,500、振替不能 4件 ¥13,400（不明（ ） 1件 ¥200、"
                           "資金不足 2件 ¥4,400、その他 1件 ¥8,800）"));
}

TEST(DebitTrailer, BankFiguresAreReadOnlyWhenFilledIn) {
  const DebitTrailer blank = read_debit_trailer(testing::debit_trailer_record(3, 900, {}));
  EXPECT_EQ(blank.records, (DebitFigures{3, 900}));
  EXPECT_FALSE(blank.debited);
  EXPECT_FALSE(blank.carries_results());

  const DebitTrailer zeros = read_debit_trailer(
      testing::debit_trailer_record(3, 900, testing::debit_results_figures(0, 0, 0, 0)));
  EXPECT_EQ(zeros.debited, (DebitFigures{0, 0}));
  EXPECT_FALSE(zeros.carries_results()) << "the trailer's zero option writes these";

  const DebitTrailer filled = read_debit_trailer(
      testing::debit_trailer_record(3, 900, testing::debit_results_figures(2, 600, 1, 300)));
  EXPECT_EQ(filled.debited, (DebitFigures{2, 600}));
  EXPECT_EQ(filled.not_debited, (DebitFigures{1, 300}));
  EXPECT_TRUE(filled.carries_results());
}

TEST(DebitTrailer, EachFigureTheRecordsDoNotBearOutIsNamed) {
  DebitResultTally tally;
  tally.add(testing::debit_data_record({QStringLiteral("ｱ"), 600, '0'}));
  tally.add(testing::debit_data_record({QStringLiteral("ｲ"), 300, '2'}));

  EXPECT_TRUE(debit_trailer_disagreements(
                  tally, read_debit_trailer(testing::debit_trailer_record(
                             2, 900, testing::debit_results_figures(1, 600, 1, 300))))
                  .isEmpty());
  EXPECT_EQ(
      debit_trailer_disagreements(tally,
                                  read_debit_trailer(testing::debit_trailer_record(
                                      2, 900, testing::debit_results_figures(2, 900, 0, 0)))),
      (QStringList{
          QStringLiteral("トレーラの振替済件数は 2件ですが、データレコードでは 1件です。"),
          QStringLiteral("トレーラの振替済金額は ¥900 ですが、データレコードでは ¥600 です。"),
          QStringLiteral("トレーラの振替不能件数は 0件ですが、データレコードでは 1件です。"),
          QStringLiteral("トレーラの振替不能金額は ¥0 ですが、データレコードでは ¥300 です。"),
      }));
  EXPECT_EQ(debit_trailer_disagreements(
                tally, read_debit_trailer(testing::debit_trailer_record(
                           3, 900, testing::debit_results_figures(1, 600, 1, 300))))
                .value(0),
            QStringLiteral("トレーラの合計件数は 3件ですが、データレコードでは 2件です。"));
  EXPECT_EQ(
      debit_trailer_disagreements(tally,
                                  read_debit_trailer(testing::debit_trailer_record(2, 900, {}))),
      (QStringList{QStringLiteral("トレーラの振替済件数・振替済金額が数字ではありません。"),
                   QStringLiteral("トレーラの振替不能件数・振替不能金額が数字ではありません。")}));
}

class ReadDebitResults : public ::testing::Test {
 protected:
  testing::ScopedWorkingDir dir_;
  const QList<DebitLine> lines_ = {{QStringLiteral("ｵｶﾞﾜ ｼﾝｲﾁ"), 5500, '0'},
                                   {QStringLiteral("ﾏｴﾀﾞ ｷｮｳｺ"), 3300, '1'},
                                   {QStringLiteral("ﾌｼﾞﾀ ﾏｻﾙ"), 5500, '0'}};
};

TEST_F(ReadDebitResults, FindsTheRecordLengthOfEachLayoutTheProgramWrites) {
  for (const int length : {120, 122, 128, 256}) {
    SCOPED_TRACE(length);
    testing::write_file(QStringLiteral("FURIKAE.DAT"), testing::debit_bank_file(lines_, length));
    const Result<DebitResults> read = read_debit_results(QStringLiteral("FURIKAE.DAT"));
    ASSERT_TRUE(read.ok()) << read.message().toStdString();
    EXPECT_EQ(read->record_length, length);
    EXPECT_TRUE(read->returned());
    EXPECT_EQ(read->tally.not_debited(), (DebitFigures{1, 3300}));
    EXPECT_TRUE(read->disagreements.isEmpty()) << read->disagreements.join(u'\n').toStdString();
    EXPECT_FALSE(read->all_debited());
  }
}

TEST_F(ReadDebitResults, RefusesWhatIsNoReturnedDebitFile) {
  const QString path = QStringLiteral("FURIKAE.DAT");
  EXPECT_EQ(read_debit_results(path).message(),
            QStringLiteral("銀行ファイル「FURIKAE.DAT」を開けません。"));

  QByteArray credit = testing::debit_bank_file(lines_);
  credit.replace(1, 2, "21");
  testing::write_file(path, credit);
  EXPECT_TRUE(read_debit_results(path).message().contains(QStringLiteral("振込のファイルです")));

  // A second header among the data: two files joined, which this program never writes.
  QByteArray joined = testing::debit_bank_file(lines_);
  joined.replace(240, 120, testing::debit_header_record());
  testing::write_file(path, joined);
  EXPECT_TRUE(
      read_debit_results(path).message().contains(QStringLiteral("銀行ファイルとして読めません")));

  testing::write_file(path, testing::debit_bank_file(lines_).left(600));
  EXPECT_TRUE(
      read_debit_results(path).message().contains(QStringLiteral("銀行ファイルとして読めません")));

  QList<DebitLine> unreturned = lines_;
  for (DebitLine& line : unreturned) line.code = ' ';
  testing::write_file(path, testing::debit_bank_file(unreturned, 120, QByteArray()));
  const Result<DebitResults> read = read_debit_results(path);
  ASSERT_TRUE(read.ok());
  EXPECT_FALSE(read->returned());
}

}  // namespace
}  // namespace tsubakuro
