// Whatever file stands where the payment list should be, the converter ends,
// says what happened, writes whole records only, and leaves the list as it was.
#include <gtest/gtest.h>

#include <QFile>
#include <random>

#include "core/text/cp932.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

QByteArray cp932(const QString& text) { return encode_cp932(text).bytes; }

// A row the sample company's credit settings convert without a field error.
QByteArray clean_row(int n) {
  return cp932(QStringLiteral("0310,ﾐﾅﾄｷﾞﾝｺｳ,001,ﾎﾝﾃﾝ,1,%1,ﾔﾏﾀﾞ ﾀﾛｳ,%2,%3,4月分給与")
                   .arg(1234560 + n)
                   .arg(1000 * n)
                   .arg(1000 + n));
}

const QByteArray kHeading =
    cp932(QStringLiteral("銀行コード,銀行名,支店コード,支店名,預金種目,"
                         "口座番号,受取人名,振込金額,取引先番号,摘要"));

QByteArray joined(const QList<QByteArray>& lines, const QByteArray& line_end, bool final_end) {
  QByteArray list = lines.join(line_end);
  if (final_end) list += line_end;
  return list;
}

class OddPaymentList : public ::testing::Test {
 protected:
  void SetUp() override { copy_sample_company(); }

  // Converts `list` as the sample company's credit list and checks what every
  // conversion must give, whatever the list held.
  ConverterRun convert(const QByteArray& list) {
    write_file(QString::fromUtf8(kSampleCreditList), list);
    const auto before = users_files();
    ConverterRun run = run_converter({});
    EXPECT_FALSE(run.crashed) << run.output.toStdString();
    EXPECT_FALSE(run.timed_out);
    EXPECT_TRUE(run.exit_code == 0 || run.exit_code == 1)
        << run.exit_code << " " << run.output.toStdString();
    EXPECT_EQ(changed_files(before, users_files()).join(u", ").toStdString(), "")
        << "the list and the settings stay as they were";
    return run;
  }

  // The bank file, cut into its records, each checked for its length, its line
  // end and its place: one header, the data records, a trailer and an end.
  QList<QByteArray> records() {
    const QByteArray file = read_file(QString::fromUtf8(kSampleCreditOutput));
    EXPECT_EQ(file.size() % kSampleRecordLength, 0);
    QList<QByteArray> records;
    for (qsizetype at = 0; at + kSampleRecordLength <= file.size(); at += kSampleRecordLength)
      records.append(file.sliced(at, kSampleRecordLength));
    EXPECT_GE(records.size(), 3);
    for (qsizetype i = 0; i < records.size(); ++i) {
      const char expected = i == 0                    ? '1'
                            : i == records.size() - 2 ? '8'
                            : i == records.size() - 1 ? '9'
                                                      : '2';
      EXPECT_EQ(records[i].front(), expected) << "record " << i;
      EXPECT_TRUE(records[i].endsWith("\r\n")) << "record " << i;
    }
    return records;
  }

  QString log() const {
    return decode_cp932(read_file(QString::fromUtf8(kSampleCompany) + QStringLiteral(".log")));
  }

  ScopedWorkingDir dir;
};

// Still a whole bank file, but no success: it pays nobody.
TEST_F(OddPaymentList, AnEmptyFileGivesHeaderTrailerAndEndRecordsAndAnError) {
  const ConverterRun run = convert(QByteArray());
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.output.contains(QStringLiteral("ボディ：変換するデータがありません。")))
      << run.output.toStdString();
  const QList<QByteArray> written = records();
  ASSERT_EQ(written.size(), 3);
  EXPECT_EQ(written[1].sliced(1, 6), "000000") << "the trailer counts no row";
}

TEST_F(OddPaymentList, EveryKindOfLineEndGivesTheSameBankFile) {
  const QList<QByteArray> lines = {kHeading, clean_row(1), clean_row(2), clean_row(3)};
  ASSERT_EQ(convert(joined(lines, "\r\n", true)).exit_code, 0);
  const QList<QByteArray> expected = records();
  ASSERT_EQ(expected.size(), 6);

  const struct {
    const char* name;
    QByteArray list;
  } variants[] = {
      {"CR LF, no final line end", joined(lines, "\r\n", false)},
      {"CR only", joined(lines, "\r", true)},
      {"CR only, no final line end", joined(lines, "\r", false)},
      {"LF only", joined(lines, "\n", true)},
      {"LF only, no final line end", joined(lines, "\n", false)},
      {"mixed", kHeading + "\r" + clean_row(1) + "\n" + clean_row(2) + "\r\n" + clean_row(3)},
  };
  for (const auto& variant : variants) {
    EXPECT_EQ(convert(variant.list).exit_code, 0) << variant.name;
    EXPECT_EQ(records(), expected) << variant.name;
  }
}

TEST_F(OddPaymentList, InvalidShiftJisBytesAreFieldErrorsOfTheirRow) {
  QByteArray bad_name = clean_row(1);
  bad_name.replace(cp932(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")), QByteArray("\x81\x20\xFF\x80\xA0\xB1\xFD"));
  QByteArray bad_amount = clean_row(2);
  bad_amount.replace(",2000,", QByteArray(",20\x82\x00"
                                          "00,",
                                          8));
  const ConverterRun run =
      convert(joined({kHeading, bad_name, bad_amount, clean_row(3)}, "\r\n", true));
  EXPECT_EQ(run.exit_code, 1) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("変換エラーがあります。")));
  EXPECT_EQ(records().size(), 6);
  EXPECT_TRUE(log().contains(QStringLiteral("000001件目"))) << log().toStdString();
  EXPECT_TRUE(log().contains(QStringLiteral("000002件目"))) << log().toStdString();
  EXPECT_FALSE(log().contains(QStringLiteral("000003件目"))) << log().toStdString();
}

TEST_F(OddPaymentList, ALongLineIsConvertedAndALineOverAMegabyteIsAnErrorOfItsRow) {
  ASSERT_EQ(convert(joined({kHeading, clean_row(1), clean_row(2)}, "\r\n", true)).exit_code, 0);
  const QList<QByteArray> expected = records();

  // A long name is cut to its field; a line of 10 MB is no payment row.
  const QByteArray too_long = clean_row(1) + "," + QByteArray(10 << 20, 'A');
  QByteArray long_name = clean_row(2);
  long_name.replace(cp932(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")), QByteArray(900 << 10, '\xB1'));
  const ConverterRun run = convert(joined({kHeading, too_long, long_name}, "\r\n", true));
  EXPECT_EQ(run.exit_code, 1) << run.output.toStdString();
  EXPECT_TRUE(log().contains(QStringLiteral("ボディ：000001件目の行が長すぎます。")))
      << log().toStdString();
  const QList<QByteArray> written = records();
  ASSERT_EQ(written.size(), 4) << "header, the second row, trailer, end";
  EXPECT_EQ(written[1].sliced(50, 30), QByteArray(30, '\xB1')) << "the name field";
  EXPECT_EQ(written[1].sliced(80, 10), expected[2].sliced(80, 10)) << "the amount keeps its place";
  EXPECT_EQ(written[2].sliced(1, 6), "000001") << "the trailer counts the record written";
}

TEST_F(OddPaymentList, ABinaryFileEndsWithWholeRecords) {
  std::mt19937 random(20261207);
  QByteArray noise(1 << 20, '\0');
  for (char& byte : noise) byte = static_cast<char>(random());
  // Without quotes every line is a row.
  QByteArray unquoted_noise = noise;
  unquoted_noise.replace('"', '\'');
  const ConverterRun run = convert(unquoted_noise);
  EXPECT_EQ(run.exit_code, 1) << run.output.toStdString();
  const qsizetype line_ends =
      unquoted_noise.count('\r') + unquoted_noise.count('\n') - unquoted_noise.count("\r\n");
  // One heading line is skipped; the last line may lack its end.
  const qsizetype data_records = records().size() - 3;
  EXPECT_GE(data_records, line_ends - 1);
  EXPECT_LE(data_records, line_ends);
  // With them a quoted line break joins lines into one row: never more rows.
  const ConverterRun quoted = convert(noise);
  EXPECT_EQ(quoted.exit_code, 1) << quoted.output.toStdString();
  EXPECT_GT(records().size() - 3, 0);
  EXPECT_LE(records().size() - 3, line_ends);

  const ConverterRun zeros = convert(QByteArray(64 << 10, '\0') + "\r\n" + QByteArray(10, '\0'));
  EXPECT_EQ(zeros.exit_code, 1) << zeros.output.toStdString();
  EXPECT_EQ(records().size(), 4);
}

}  // namespace
}  // namespace tsubakuro::testing
