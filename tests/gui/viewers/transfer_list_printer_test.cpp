#include "core/zengin/transfer_list_printer.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>

#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::end_record;
using testing::physical_record;
using testing::zengin_field;

// Poppler's tools read the PDF as a viewer would; the list is checked through
// them, not through what the program meant to draw.
QString run_tool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString() << " did not run";
  EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdf_text(const QString& pdf, int page = 0) {
  QStringList arguments = {QStringLiteral("-layout")};
  if (page > 0)
    arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
              << QString::number(page);
  return run_tool(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

int pdf_pages(const QString& pdf) {
  const QString info = run_tool(QStringLiteral("pdfinfo"), {pdf});
  const QRegularExpressionMatch pages =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// Pixels of a page drawn in the list's red.
int red_pixels(const QString& pdf, int page) {
  run_tool(QStringLiteral("pdftoppm"),
           {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
            QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
            QString::number(page), QStringLiteral("-singlefile"), pdf, QStringLiteral("page")});
  const QImage image(QStringLiteral("page.png"));
  EXPECT_FALSE(image.isNull());
  int red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.red() > 150 && colour.green() < 90 && colour.blue() < 90) ++red;
    }
  return red;
}

QString payee(int serial) {
  return QStringLiteral("ﾒｲｷﾞﾆﾝ %1").arg(serial, 4, 10, QLatin1Char('0'));
}
qint64 amount(int serial) { return serial * 1000LL + 7; }

QByteArray data_record(int serial) {
  return "2" + QByteArray("0005") + zengin_field(QStringLiteral("ﾐﾂﾋﾞｼ"), 15) + "001" +
         zengin_field(QStringLiteral("ﾎﾝﾃﾝ"), 15) + "    " + "1" + "1234567" +
         zengin_field(payee(serial), 30) +
         QByteArray::number(amount(serial)).rightJustified(10, '0') + "0" +
         QByteArray::number(serial).rightJustified(10, '0') + QByteArray(10, '0') + " " +
         QByteArray(8, ' ');
}

// A 総合振込 file of `count` payees for 12/25, a Friday, with the trailer's
// amount off by `error` yen.
QByteArray bank_file(int count, qint64 error = 0, int length = 120, bool crlf = false) {
  QByteArray file = physical_record(testing::credit_header_record(), length, crlf);
  qint64 total = 0;
  for (int serial = 1; serial <= count; ++serial) {
    file += physical_record(data_record(serial), length, crlf);
    total += amount(serial);
  }
  file += physical_record(testing::trailer_record(count, total + error), length, crlf);
  return file + physical_record(end_record(), length, crlf);
}

QString with_separators(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

class TransferListPrinterTest : public ::testing::Test {
 protected:
  // The list of `bytes` as a PDF, made on 2026-12-07.
  std::unique_ptr<TransferList> write_pdf(const QByteArray& bytes) {
    testing::write_file(QStringLiteral("zengin.dat"), bytes);
    TransferListOptions options;
    options.converted_on = QDate(2026, 12, 7);
    Result<std::unique_ptr<TransferList>> list =
        TransferList::open(QStringLiteral("zengin.dat"), options);
    EXPECT_TRUE(list.ok()) << list.message().toStdString();
    if (!list) return nullptr;
    const Result<int> pages = write_transfer_list_pdf(**list, QStringLiteral("list.pdf"),
                                                      QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    EXPECT_TRUE(pages.ok()) << pages.message().toStdString();
    return std::move(*list);
  }

  testing::ScopedWorkingDir dir_;
};

TEST_F(TransferListPrinterTest, AHundredPayeesFillThreePagesWithTheirSubtotalsAndTheTotal) {
  ASSERT_TRUE(write_pdf(bank_file(100)));
  ASSERT_EQ(pdf_pages(QStringLiteral("list.pdf")), 3);
  const QString all = pdf_text(QStringLiteral("list.pdf"));
  for (int serial = 1; serial <= 100; ++serial) EXPECT_TRUE(all.contains(payee(serial))) << serial;
  qint64 total = 0;
  for (int page = 1; page <= 3; ++page) {
    const QString text = pdf_text(QStringLiteral("list.pdf"), page);
    EXPECT_TRUE(text.contains(QStringLiteral("総合振込一覧表")));
    EXPECT_TRUE(text.contains(QStringLiteral("%1 / 3").arg(page))) << page;
    EXPECT_TRUE(text.contains(QStringLiteral("作成 2026年12月7日 09:30")));
    EXPECT_TRUE(text.contains(QStringLiteral("2026年12月25日（金）")));
    EXPECT_EQ(text.contains(QStringLiteral("承認")), page == 1);
    qint64 subtotal = 0;
    const int last = qMin(100, page * kTransferListRowsPerPage);
    for (int serial = (page - 1) * kTransferListRowsPerPage + 1; serial <= last; ++serial)
      subtotal += amount(serial);
    total += subtotal;
    const QRegularExpression subtotal_line(
        QStringLiteral("小計（このページ）\\s+%1件\\s+%2")
            .arg(last - (page - 1) * kTransferListRowsPerPage)
            .arg(QRegularExpression::escape(with_separators(subtotal))));
    EXPECT_TRUE(subtotal_line.match(text).hasMatch()) << page << text.toStdString();
  }
  const QString last_page = pdf_text(QStringLiteral("list.pdf"), 3);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("合計件数\\s+100件\\s+合計金額\\s+%1")
                                     .arg(QRegularExpression::escape(with_separators(total))))
                  .match(last_page)
                  .hasMatch())
      << last_page.toStdString();
  EXPECT_TRUE(last_page.contains(QStringLiteral("（一致）")));
  // The header: bank names from the list, the company as the file holds it.
  EXPECT_TRUE(all.contains(QStringLiteral("三菱ＵＦＪ")));
  EXPECT_TRUE(all.contains(QStringLiteral("ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ")));
  EXPECT_EQ(red_pixels(QStringLiteral("list.pdf"), 3), 0);
}

TEST_F(TransferListPrinterTest, AThousandPayeesTakeTwentyFivePagesWithTheFontEmbedded) {
  ASSERT_TRUE(write_pdf(bank_file(1000)));
  EXPECT_EQ(pdf_pages(QStringLiteral("list.pdf")), 25);
  EXPECT_TRUE(pdf_text(QStringLiteral("list.pdf"), 25).contains(payee(1000)));
  const QString fonts = run_tool(QStringLiteral("pdffonts"), {QStringLiteral("list.pdf")});
  EXPECT_TRUE(QRegularExpression(QStringLiteral("IPAGothic\\s.*\\syes\\s")).match(fonts).hasMatch())
      << fonts.toStdString();
}

TEST_F(TransferListPrinterTest, ATrailerThatDisagreesIsPrintedInRed) {
  std::unique_ptr<TransferList> list = write_pdf(bank_file(3, 1));
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->totals_agree());
  const QString text = pdf_text(QStringLiteral("list.pdf"));
  EXPECT_TRUE(text.contains(QStringLiteral("一致しません"))) << text.toStdString();
  EXPECT_GT(red_pixels(QStringLiteral("list.pdf"), 1), 50);
}

TEST_F(TransferListPrinterTest, EveryRecordLengthAndLineEndGivesTheSameList) {
  for (const int length : kRecordLengths) {
    for (const bool crlf : {false, true}) {
      ASSERT_TRUE(write_pdf(bank_file(2, 0, length, crlf))) << length << crlf;
      const QString text = pdf_text(QStringLiteral("list.pdf"));
      EXPECT_TRUE(text.contains(payee(1)) && text.contains(payee(2))) << length << crlf;
      EXPECT_TRUE(text.contains(QStringLiteral("（一致）"))) << length << crlf;
    }
  }
}

TEST_F(TransferListPrinterTest, AReturnedDebitFileShowsEachResultAndTheTotalsByResult) {
  QByteArray file =
      physical_record("191" + testing::credit_header_record().mid(3), kLogicalRecordLength);
  const char codes[] = {'0', '1', '3'};
  for (int serial = 1; serial <= 3; ++serial) {
    QByteArray record = data_record(serial);
    record[111] = codes[serial - 1];
    file += record;
  }
  file += "8000003000000006021" + QByteArray("000001000000001007000002000000005014") +
          QByteArray(65, ' ');
  file += end_record();
  ASSERT_TRUE(write_pdf(file));
  const QString text = pdf_text(QStringLiteral("list.pdf"));
  EXPECT_TRUE(text.contains(QStringLiteral("口座振替依頼一覧表")));
  EXPECT_TRUE(text.contains(QStringLiteral("預金者名")));
  EXPECT_TRUE(text.contains(QStringLiteral("結果")));
  EXPECT_TRUE(text.contains(QStringLiteral("0 振替済")));
  EXPECT_TRUE(text.contains(QStringLiteral("1 資金不足")));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("振替済\\s+1件\\s+1,007円")).match(text).hasMatch())
      << text.toStdString();
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("振替不能\\s+2件\\s+5,014円")).match(text).hasMatch());
  EXPECT_TRUE(text.contains(QStringLiteral("振替停止")));
}

TEST_F(TransferListPrinterTest, APdfThatCannotBeWrittenLeavesTheFormerOne) {
  testing::write_file(QStringLiteral("zengin.dat"), bank_file(2));
  Result<std::unique_ptr<TransferList>> list = TransferList::open(QStringLiteral("zengin.dat"));
  ASSERT_TRUE(list.ok());
  const Result<int> written =
      write_transfer_list_pdf(**list, QStringLiteral("no/such/folder/list.pdf"), {});
  EXPECT_FALSE(written.ok());
  EXPECT_TRUE(written.message().contains(QStringLiteral("no/such/folder/list.pdf")));
  testing::write_file(QStringLiteral("list.pdf"), "former");
  {
    testing::FileSizeLimit limit(1000);
    EXPECT_FALSE(write_transfer_list_pdf(**list, QStringLiteral("list.pdf"), {}).ok());
  }
  EXPECT_EQ(testing::read_file(QStringLiteral("list.pdf")), "former");
}

}  // namespace
}  // namespace tsubakuro
