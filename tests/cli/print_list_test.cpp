#include <gtest/gtest.h>
#include <QProcess>

#include "cli/command_line.h"
#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

QString pdf_text(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(process.waitForFinished(60000));
  return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray field(const QString& text, int width) {
  QByteArray bytes = encode_cp932(text).bytes;
  bytes.resize(width, ' ');
  return bytes;
}

// A 給与振込 file of two payees whose trailer claims `trailer_amount`.
QByteArray payroll_file(qint64 trailer_amount) {
  const QByteArray header = "1110" + QByteArray("1234567890") +
                            field(QStringLiteral("ｶ)ﾂﾊﾞｸﾛ"), 40) + "1225" + "0001" + field({}, 15) +
                            "001" + field({}, 15) + "1" + "7654321" + QByteArray(17, ' ');
  QByteArray file = header;
  for (const char* name : {"ｱｵｷ ｲﾁﾛｳ", "ｲﾉｳｴ ｼﾞﾛｳ"}) {
    file += "2" + QByteArray("0001") + field({}, 15) + "004" + field({}, 15) + "    " + "1" +
            "1234567" + field(QString::fromUtf8(name), 30) + "0000100000" + "0" +
            QByteArray(20, '0') + " " + QByteArray(8, ' ');
  }
  file += "8" + QByteArray("000002") + QByteArray::number(trailer_amount).rightJustified(12, '0') +
          QByteArray(101, ' ');
  return file + "9" + QByteArray(119, ' ');
}

class PrintList : public ::testing::Test {
 protected:
  ScopedWorkingDir dir_;
};

TEST_F(PrintList, WritesTheListOfABankFileAndExitsByItsTotals) {
  write_file(QStringLiteral("zengin.dat"), payroll_file(200000));
  ConvertProcessResult result = run_tsubakuro_convert(
      {QStringLiteral("--print-list"), QStringLiteral("list.pdf"), QStringLiteral("zengin.dat")});
  EXPECT_EQ(result.exit_code, 0) << result.standard_error.toStdString();
  EXPECT_TRUE(
      result.standard_output.contains(QStringLiteral("給与振込一覧表: list.pdf（1ページ）")))
      << result.standard_output.toStdString();
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("一覧表の合計金額: 200,000円")));
  EXPECT_TRUE(result.standard_error.isEmpty()) << result.standard_error.toStdString();
  QString text = pdf_text(QStringLiteral("list.pdf"));
  EXPECT_TRUE(text.contains(QStringLiteral("給与振込一覧表")));
  EXPECT_TRUE(text.contains(QStringLiteral("ｱｵｷ ｲﾁﾛｳ")) &&
              text.contains(QStringLiteral("ｲﾉｳｴ ｼﾞﾛｳ")));
  // Bank and branch from the bank list, though the file leaves their names blank.
  EXPECT_TRUE(text.contains(QStringLiteral("0001 みずほ"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("004 丸の内中央")));

  write_file(QStringLiteral("zengin.dat"), payroll_file(200001));
  result = run_tsubakuro_convert(
      {QStringLiteral("--print-list"), QStringLiteral("list.pdf"), QStringLiteral("zengin.dat")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("一致しません")))
      << result.standard_error.toStdString();
  EXPECT_TRUE(pdf_text(QStringLiteral("list.pdf")).contains(QStringLiteral("一致しません")));
}

TEST_F(PrintList, ExitsTwoWithTheReasonWhenTheFileCannotBeReadOrThePdfWritten) {
  write_file(QStringLiteral("list.pdf"), "former");
  const auto print = [](const QString& bank_file, const QString& pdf = QStringLiteral("list.pdf")) {
    return run_tsubakuro_convert({QStringLiteral("--print-list"), pdf, bank_file});
  };
  ConvertProcessResult result = print(QStringLiteral("none.dat"));
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("開けません")));
  write_cp932_file(QStringLiteral("list.csv"), QStringLiteral("支払先,金額\r\n"));
  result = print(QStringLiteral("list.csv"));
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("銀行ファイルではありません")));
  EXPECT_EQ(read_file(QStringLiteral("list.pdf")), "former");

  write_file(QStringLiteral("zengin.dat"), payroll_file(200000));
  result = print(QStringLiteral("zengin.dat"), QStringLiteral("no/such/folder/list.pdf"));
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("書けません")));

  result = run_tsubakuro_convert({QStringLiteral("--print-list"), QStringLiteral("list.pdf")});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("銀行ファイルを指定してください")));
}

TEST_F(PrintList, AfterAConversionListsTheBankFileJustWritten) {
  copy_sample_company();
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--list-pdf"), QStringLiteral("list.pdf")});
  // The sample list has rows the log reports; the list itself agrees.
  EXPECT_EQ(result.exit_code, 1) << result.standard_error.toStdString();
  EXPECT_TRUE(
      result.standard_output.contains(QStringLiteral("総合振込一覧表: list.pdf（1ページ）")))
      << result.standard_output.toStdString();
  const QString text = pdf_text(QStringLiteral("list.pdf"));
  EXPECT_TRUE(text.contains(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")));
  EXPECT_TRUE(text.contains(QStringLiteral("（一致）")));
  EXPECT_TRUE(text.contains(QStringLiteral("8,261,080")));
}

TEST(PrintListCommandLine, TakesThePdfAndOneBankFileAndNothingElse) {
  cli::ParsedCommandLine parsed = cli::parse_command_line(
      {QStringLiteral("--print-list"), QStringLiteral("a.pdf"), QStringLiteral("b.dat")});
  ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
  ASSERT_TRUE(parsed.print_list);
  EXPECT_EQ(parsed.print_list->pdf, QStringLiteral("a.pdf"));
  EXPECT_EQ(parsed.print_list->bank_file, QStringLiteral("b.dat"));
  parsed = cli::parse_command_line({QStringLiteral("--print-list"), QStringLiteral("a.pdf"),
                                    QStringLiteral("b.dat"), QStringLiteral("c.dat")});
  EXPECT_TRUE(parsed.error.contains(QStringLiteral("余分な引数があります: c.dat")));
  // Without --print-list a file name is still refused.
  parsed = cli::parse_command_line({QStringLiteral("b.dat")});
  EXPECT_TRUE(parsed.error.contains(QStringLiteral("余分な引数があります: b.dat")));
  parsed = cli::parse_command_line({QStringLiteral("--list-pdf=一覧.pdf")});
  ASSERT_TRUE(parsed.error.isEmpty());
  EXPECT_EQ(parsed.request.list_pdf, QStringLiteral("一覧.pdf"));
  EXPECT_FALSE(parsed.print_list);
}

}  // namespace
}  // namespace tsubakuro::testing
