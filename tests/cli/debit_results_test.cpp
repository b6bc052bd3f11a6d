#include <gtest/gtest.h>
#include <QFile>

#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kSettings = QStringLiteral("サンプル商事.cfg");
const QString kBankFile = QStringLiteral("FURIKAE.DAT");
constexpr int kLength = 122;      // the sample company's records end in CR LF
constexpr int kResultCode = 111;  // 振替結果コード, from 0
// The bank's answers for the sample's 24 debits, by data record (from 1).
const QList<std::pair<int, char>> kNotDebited = {{2, '1'}, {5, '2'}, {7, '1'}, {19, '9'}};

QByteArray expected(const QString& relative) {
  return read_file(source_path(QStringLiteral("tests/data/cli/debit_results/") + relative));
}

// Data record `number` (from 1) of a bank file.
QByteArray data_record(const QByteArray& file, int number) {
  return file.mid(static_cast<qsizetype>(number) * kLength, 120);
}

void set_settings_line(int number, const QString& value) {
  QStringList lines = decode_cp932(read_file(kSettings)).split(QStringLiteral("\r\n"));
  lines[number - 1] = value;
  write_cp932_file(kSettings, lines.join(QStringLiteral("\r\n")));
}

// The sample's 振替 file as the bank returns it: a code in every data record and
// its figures in the trailer (振替済件数・金額, 振替不能件数・金額).
QByteArray returned(QByteArray file, const QList<std::pair<int, char>>& not_debited,
                    const QByteArray& trailer_figures = {}) {
  const int records = 24;
  qint64 amounts[2] = {0, 0};
  qint64 counts[2] = {0, 0};
  for (int number = 1; number <= records; ++number) {
    char code = '0';
    for (const auto& [failed, given] : not_debited) {
      if (failed == number) code = given;
    }
    const qsizetype at = static_cast<qsizetype>(number) * kLength;
    file[at + kResultCode] = code;
    const int slot = code == '0' ? 0 : 1;
    amounts[slot] += file.mid(at + 80, 10).toLongLong();
    ++counts[slot];
  }
  const qsizetype trailer = static_cast<qsizetype>(records + 1) * kLength;
  const auto digits = [](qint64 value, int width) {
    return QByteArray::number(value).rightJustified(width, '0');
  };
  const QByteArray figures = trailer_figures.isEmpty()
                                 ? digits(counts[0], 6) + digits(amounts[0], 12) +
                                       digits(counts[1], 6) + digits(amounts[1], 12)
                                 : trailer_figures;
  file.replace(trailer + 19, figures.size(), figures);
  return file;
}

class DebitResults : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_sample_company();
    const ConvertProcessResult converted = run_tsubakuro_convert({QStringLiteral("--kind=振替")});
    ASSERT_EQ(converted.exit_code, 0) << converted.standard_error.toStdString();
    converted_ = read_file(kBankFile);
  }

  ConvertProcessResult read_back(QStringList more = {}) {
    return run_tsubakuro_convert(QStringList{QStringLiteral("--results"), kBankFile} + more);
  }

  ScopedWorkingDir dir_;
  QByteArray converted_;
};

TEST_F(DebitResults, FailedRecordsConvertAgainAsNextMonthsList) {
  const QByteArray bank = returned(converted_, kNotDebited);
  write_file(kBankFile, bank);
  const ConvertProcessResult result =
      read_back({QStringLiteral("--company"), QStringLiteral("サンプル商事"),
                 QStringLiteral("--failed-csv"), QStringLiteral("failed.csv")});

  EXPECT_EQ(result.exit_code, 1) << result.standard_error.toStdString();
  EXPECT_EQ(result.standard_output,
            QStringLiteral("振替結果: FURIKAE.DAT\n"
                           "振替済 20件 ¥107,800、振替不能 4件 ¥28,600（資金不足 2件 ¥14,300、"
                           "預金取引なし 1件 ¥3,300、その他 1件 ¥11,000）\n"
                           "振替不能 4件を「failed.csv」に書き出しました。\n"));
  EXPECT_EQ(read_file(QStringLiteral("failed.csv")), expected("failed_company.csv"));
  EXPECT_EQ(read_file(kBankFile), bank);

  // The list converts with the company's own settings into the records that failed.
  set_settings_line(31, QStringLiteral("\"failed.csv\""));
  set_settings_line(32, QStringLiteral("\"NEXT.DAT\""));
  const ConvertProcessResult again = run_tsubakuro_convert({QStringLiteral("--kind=振替")});
  ASSERT_EQ(again.exit_code, 0) << again.standard_output.toStdString();
  const QByteArray next = read_file(QStringLiteral("NEXT.DAT"));
  ASSERT_EQ(next.size(), (kNotDebited.size() + 3) * kLength);
  for (int i = 0; i < kNotDebited.size(); ++i) {
    SCOPED_TRACE(i);
    QByteArray was = data_record(bank, kNotDebited[i].first);
    QByteArray now = data_record(next, i + 1);
    EXPECT_EQ(now[kResultCode], ' ');
    was[kResultCode] = now[kResultCode] = '_';
    EXPECT_EQ(decode_cp932(now), decode_cp932(was));
  }
  EXPECT_EQ(next.mid(5 * kLength, 19), QByteArray("8000004000000028600"));
}

TEST_F(DebitResults, WithoutACompanyTheListHasItsOwnColumns) {
  write_file(kBankFile, returned(converted_, kNotDebited));
  const ConvertProcessResult result = read_back({QStringLiteral("--failed-csv=failed.csv")});

  EXPECT_EQ(result.exit_code, 1) << result.standard_error.toStdString();
  EXPECT_EQ(read_file(QStringLiteral("failed.csv")), expected("failed_fixed.csv"));
}

TEST_F(DebitResults, EveryRecordDebitedIsSuccess) {
  write_file(kBankFile, returned(converted_, {}));
  const ConvertProcessResult result = read_back({QStringLiteral("--failed-csv=failed.csv")});

  EXPECT_EQ(result.exit_code, 0) << result.standard_error.toStdString();
  EXPECT_TRUE(
      result.standard_output.contains(QStringLiteral("振替済 24件 ¥136,400、振替不能 0件 ¥0\n")))
      << result.standard_output.toStdString();
  EXPECT_EQ(decode_cp932(read_file(QStringLiteral("failed.csv"))).count(QStringLiteral("\r\n")), 1)
      << "the heading alone";
}

TEST_F(DebitResults, TrailerThatDisagreesIsTold) {
  // The bank's trailer says every debit was made, its records that one was not.
  write_file(kBankFile, returned(converted_, {{3, '1'}}, "000024000000136400000000000000000000"));
  const ConvertProcessResult result = read_back();

  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(result.standard_output.contains(
      QStringLiteral("注意: トレーラの振替不能件数は 0件ですが、データレコードでは 1件です。")))
      << result.standard_output.toStdString();
}

TEST_F(DebitResults, WhatCannotBeReadIsStatusTwo) {
  const ConvertProcessResult unreturned = read_back();
  EXPECT_EQ(unreturned.exit_code, 2);
  EXPECT_TRUE(unreturned.standard_error.contains(QStringLiteral("振替結果が入っていません")))
      << unreturned.standard_error.toStdString();

  const ConvertProcessResult missing =
      run_tsubakuro_convert({QStringLiteral("--results"), QStringLiteral("NONE.DAT")});
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_TRUE(missing.standard_error.contains(QStringLiteral("を開けません")));

  write_file(QStringLiteral("list.txt"), "not a bank file\r\n");
  const ConvertProcessResult other =
      run_tsubakuro_convert({QStringLiteral("--results"), QStringLiteral("list.txt")});
  EXPECT_EQ(other.exit_code, 2);

  write_file(kBankFile, returned(converted_, kNotDebited));
  const ConvertProcessResult unwritable = read_back({QStringLiteral("--failed-csv"), kBankFile});
  EXPECT_EQ(unwritable.exit_code, 2);
  EXPECT_EQ(read_file(kBankFile), returned(converted_, kNotDebited));
}

}  // namespace
}  // namespace tsubakuro::testing
