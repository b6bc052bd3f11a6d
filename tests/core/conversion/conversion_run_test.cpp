#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/text/cp932.h"
#include "run_fixture.h"

namespace tsubakuro {
namespace {

using testing::kFixedStamp;
using testing::read_file;
using testing::RunFixture;
using testing::write_cp932_file;
using testing::write_file;

QString row(int amount) {
  return QStringLiteral("1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,%1,,,,,").arg(amount);
}

// A footer's total line: an amount, and no account to pay it to.
QString total(int amount) { return QStringLiteral("合計,,,,,,,,%1,,,,,").arg(amount); }

// An empty row fails every field a payment needs, and its account type.
QStringList empty_row_errors(int record_number) {
  QStringList errors;
  for (const char* field : {"[2]振込銀行番号", "[4]振込支店番号", "[7]預金種目", "[8]口座番号",
                            "[9]預金者名", "[10]振込金額"}) {
    errors.append(QStringLiteral("ボディ：%1件目の%2が正しくありません。")
                      .arg(record_number, 6, 10, QChar(u'0'))
                      .arg(QString::fromUtf8(field)));
  }
  return errors;
}

QString start_marker() { return QStringLiteral("★★変換開始★★ ") + kFixedStamp; }
QString end_marker() { return QStringLiteral("★★変換終了★★ ") + kFixedStamp; }
QString cancel_marker() { return QStringLiteral("★★キャンセル★★ ") + kFixedStamp; }
const QString kCompanyLine = QStringLiteral("ﾃｽﾄ【ﾃｽﾄｼｮｳｼﾞ】:振込");

const QByteArray kEndRecord = "9" + QByteArray(119, ' ');

QByteArray trailer(const char* count_and_amount) {
  return "8" + QByteArray(count_and_amount) + QByteArray(101, ' ');
}

class ConversionRunTest : public ::testing::Test, public RunFixture {
 protected:
  // The data-kind codes of the records written, e.g. "1228 9" as "12289".
  QByteArray kinds_written(int length = 120) const {
    QByteArray kinds;
    for (const QByteArray& record : output_records(length)) kinds += record.left(1);
    return kinds;
  }
  // The amounts of the data records written.
  QList<QByteArray> amounts_written() const {
    QList<QByteArray> amounts;
    for (const QByteArray& record : output_records())
      if (record.startsWith('2')) amounts.append(record.mid(80, 10));
    return amounts;
  }
};

TEST_F(ConversionRunTest, WritesHeaderRowsTrailerAndEndAndLogsTheMarkers) {
  write_cp932_file("in.csv", row(1000) + "\r\n" + row(2500) + "\r\n" + row(1) + "\r\n");
  auto run = make_run();
  EXPECT_EQ(run_all(*run), 5);  // open and header, three lines, the end
  EXPECT_TRUE(run->result().ok());
  EXPECT_FALSE(run->has_errors());
  EXPECT_EQ(run->row_count(), 3);
  EXPECT_EQ(run->amount_total(), 3501);

  const QList<QByteArray> records = output_records();
  ASSERT_EQ(records.size(), 6);
  EXPECT_EQ(kinds_written(), "122289");
  EXPECT_EQ(records[4], trailer("000003000000003501"));
  EXPECT_EQ(records[5], kEndRecord);
  EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000001000", "0000002500", "0000000001"}));
  EXPECT_EQ(log_lines(), (QStringList{kCompanyLine, start_marker(), end_marker()}));
  EXPECT_TRUE(run->result().message().isEmpty());
}

// A bank file without payments is never a success, however the list came to
// have no data row.
TEST_F(ConversionRunTest, ARunWithoutDataRecordsEndsWithAnError) {
  const struct {
    const char* name;
    QString list;
    const char* skip_header_rows;
    int skip_footer;
  } cases[] = {
      {"empty file", "", "", 0},
      {"fewer lines than the rows to skip", "見出し\r\n見出し", "3", 0},
      {"the heading alone, no line end", "見出し", "1", 0},
      {"a footer alone after the heading", "見出し\r\n" + total(7), "1", 1},
      {"empty lines only", "\r\n\r\n", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    company.credit.skip_header_rows = c.skip_header_rows;
    company.credit.skip_footer = c.skip_footer;
    write_cp932_file("in.csv", c.list);
    auto run = make_run();
    run_all(*run);
    EXPECT_TRUE(run->result().ok());
    EXPECT_TRUE(run->has_errors());
    EXPECT_EQ(kinds_written(), "189");
    EXPECT_EQ(output_records()[1], trailer("000000000000000000"));
    EXPECT_EQ(log_lines(), (QStringList{kCompanyLine, start_marker(),
                                        "ボディ：変換するデータがありません。", end_marker()}));
    EXPECT_EQ(run->progress_value(), run->progress_maximum());
  }
}

TEST_F(ConversionRunTest, SkipsLeadingRowsAndTheFooter) {
  company.credit.skip_header_rows = "2";
  company.credit.skip_footer = true;
  write_cp932_file("in.csv", row(1) + "\r\n" + row(2) + "\r\n" + row(3) + "\r\n" + row(4) + "\r\n" +
                                 row(5) + "\r\n");
  EXPECT_TRUE(convert().ok());
  EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000000003", "0000000004"}));
  EXPECT_EQ(output_records()[3], trailer("000002000000000007"));
}

// Old editors end a file with 0x1A, and lists often end with empty lines; none
// of them is a payment, and the footer is the last line that holds anything.
TEST_F(ConversionRunTest, TrailingEmptyLinesAndTheEndOfFileMarkAreNoRows) {
  const QString rows = row(1) + "\r\n" + row(2) + "\r\n";
  const QString endings[] = {"", "\r\n\r\n", "\r\n \r\n\t\r\n", "\x1A", "\r\n\r\n\x1A"};
  for (int footer : {0, 1}) {
    for (const QString& ending : endings) {
      SCOPED_TRACE(::testing::PrintToString(ending.toStdString()) + (footer ? " footer" : ""));
      company.credit.skip_footer = footer;
      write_cp932_file("in.csv", rows + (footer ? total(3) + "\r\n" : QString()) + ending);
      auto run = make_run();
      run_all(*run);
      EXPECT_FALSE(run->has_errors()) << log_lines().join(u'\n').toStdString();
      EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000000001", "0000000002"}));
    }
  }
  // The mark after a last row without a line end is dropped as well.
  company.credit.skip_footer = 0;
  write_cp932_file("in.csv", row(1) + "\r\n" + row(2) + "\x1A");
  EXPECT_TRUE(convert().ok());
  EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000000001", "0000000002"}));
}

TEST_F(ConversionRunTest, EmptyLinesBetweenRowsAreStillRows) {
  write_cp932_file("in.csv", row(1) + "\r\n\r\n" + row(2) + "\r\n\r\n");
  auto run = make_run();
  run_all(*run);
  EXPECT_EQ(run->row_count(), 3);
  EXPECT_EQ(log_lines()[2],
            QStringLiteral("ボディ：000002件目の列数（1）がほかの行（14）と違います。"));
  EXPECT_EQ(log_lines().mid(3, 6), empty_row_errors(2));
}

// An unquoted "1,000" gives its row a column: the amount becomes 1 and every
// later value moves one field on; a lost comma moves them back. Either is named
// with both counts, the heading's being the one the row must have. Empty columns
// past the heading's (a spreadsheet's padding) are no columns.
TEST_F(ConversionRunTest, ARowWhoseColumnsAreNotTheHeadingsIsLogged) {
  company.credit.skip_header_rows = "2";
  write_cp932_file("in.csv", "振込一覧\r\n" + QStringLiteral("a,b,c,d,e,f,g,h,i,j,k,l,m,n\r\n") +
                                 row(1) + "\r\n" + "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,1,000,,,,,ﾒﾓ\r\n" +
                                 row(3) + "\r\n" + "1,ﾐｽﾞﾎ\r\n" + row(5) + ",,\r\n");
  auto run = make_run();
  run_all(*run);
  EXPECT_TRUE(run->has_errors());
  EXPECT_EQ(log_lines().mid(2),
            (QStringList{"ボディ：000002件目の列数（15）が見出し（14）と違います。",
                         "ボディ：000002件目の[11]新規コードが正しくありません。",
                         "ボディ：000004件目の列数（2）が見出し（14）と違います。",
                         "ボディ：000004件目の[4]振込支店番号が正しくありません。",
                         "ボディ：000004件目の[7]預金種目が正しくありません。",
                         "ボディ：000004件目の[8]口座番号が正しくありません。",
                         "ボディ：000004件目の[9]預金者名が正しくありません。",
                         "ボディ：000004件目の[10]振込金額が正しくありません。", end_marker()}));
  EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000000001", "0000000001", "0000000003",
                                                  "0000000000", "0000000005"}));
}

TEST_F(ConversionRunTest, TheTrailerAddsTheAmountsAsWritten) {
  write_cp932_file("in.csv", row(1000) + "\r\n" +
                                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,12345678901,,,,,\r\n" +
                                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,2.5,,,,,\r\n");
  auto run = make_run();
  run_all(*run);
  EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000001000", "2345678901", "00000002.5"}));
  EXPECT_EQ(output_records()[4], trailer("000003002345679903"));
  EXPECT_EQ(run->amount_total(), 2'345'679'903);
  EXPECT_EQ(log_lines().mid(2, 2),
            (QStringList{"ボディ：000002件目の[10]振込金額が正しくありません。",
                         "ボディ：000003件目の[10]振込金額が正しくありません。"}));
}

// Lists saved elsewhere end their lines with LF or CR alone; each must stay a row.
TEST_F(ConversionRunTest, LinesEndAtCrLfCrOrLf) {
  write_cp932_file("in.csv",
                   row(1) + "\n" + row(2) + "\r" + row(3) + "\r\n" + row(4) + "\n\r" + row(5));
  EXPECT_TRUE(convert().ok());
  // "\n\r" is two line ends: an empty line between rows 4 and 5.
  EXPECT_EQ(amounts_written(), (QList<QByteArray>{"0000000001", "0000000002", "0000000003",
                                                  "0000000004", "0000000000", "0000000005"}));
  EXPECT_EQ(log_lines()[2],
            QStringLiteral("ボディ：000005件目の列数（1）がほかの行（14）と違います。"));
  EXPECT_EQ(log_lines().mid(3, 6), empty_row_errors(5));
}

TEST_F(ConversionRunTest, LogsEveryFailedFieldWithItsRecordNumber) {
  company.credit.header_values[2] = "123456789";
  company.credit.header_values[9] = "3";
  write_cp932_file("in.csv", row(1) + "\r\n" + "x,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,5,1234567,田中,1,,,,9,\r\n");
  auto run = make_run();
  run_all(*run);
  EXPECT_TRUE(run->result().ok());
  EXPECT_TRUE(run->has_errors());
  EXPECT_EQ(
      log_lines(),
      (QStringList{kCompanyLine, start_marker(), "ヘッダ：[4]会社コードが正しくありません。",
                   "ヘッダ：[11]預金種目が正しくありません。",
                   "ボディ：000002件目の[2]振込銀行番号が正しくありません。",
                   "ボディ：000002件目の[7]預金種目が正しくありません。",
                   "ボディ：000002件目の[9]預金者名が正しくありません。",
                   "ボディ：000002件目の[14]振込指定区分が正しくありません。", end_marker()}));
  EXPECT_EQ(kinds_written(), "12289");  // failed records are written all the same
}

// The record is built with the company's option; the message must number the
// fields the same way, whatever the system's copy says.
TEST_F(ConversionRunTest, MessagesFollowTheRunsOwnTwentyDigitOption) {
  system.company_specific = true;
  system.options.credit_20digit = false;
  company.options.kana_table = system.options.kana_table;
  company.options.credit_20digit = true;
  company.options.record_length = 120;
  write_cp932_file("in.csv", "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,1,,123,,9,\r\n");
  EXPECT_TRUE(convert().ok());
  EXPECT_EQ(log_lines()[2], "ボディ：000001件目の[13]振込指定区分が正しくありません。");
  EXPECT_EQ(output_records()[1].mid(91, 20), "00000000000000000123");

  company.options.credit_20digit = false;
  system.options.credit_20digit = true;
  EXPECT_TRUE(convert().ok());
  EXPECT_EQ(log_lines()[2], "ボディ：000001件目の[14]振込指定区分が正しくありません。");
}

TEST_F(ConversionRunTest, AnAmountTotalTooLargeForTheTrailerIsLogged) {
  QString list;
  for (int i = 0; i < 101; ++i) list += "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,9999999999,,,,,\r\n";
  write_cp932_file("in.csv", list);
  auto run = make_run();
  run_all(*run);
  EXPECT_EQ(run->amount_total(), 1'009'999'999'899);
  EXPECT_TRUE(run->has_errors());
  EXPECT_EQ(log_lines()[2], "トレーラ：[3]合計金額が正しくありません。");
}

TEST_F(ConversionRunTest, DebitRunsUseTheDebitSectionAndOptions) {
  system.transfer_kind = TransferKind::Debit;
  system.options.debit_trailer_zero = true;
  system.options.record_length = 130;
  system.options.crlf_each_record = true;
  company.debit.header_values[3] = "ﾌﾘｶｴ  ";
  write_cp932_file("in.csv", row(5) + "\r\n");
  EXPECT_TRUE(convert().ok());
  const QByteArray bytes = read_file("out.dat");
  ASSERT_EQ(bytes.size(), 4 * 130);
  const QList<QByteArray> records = output_records(130);
  for (const QByteArray& record : records) EXPECT_TRUE(record.endsWith("        \r\n"));
  EXPECT_TRUE(records[0].startsWith("191"));
  EXPECT_EQ(records[2].left(56), "8000001000000000005" + QByteArray(36, '0') + " ");
  EXPECT_EQ(log_lines()[0], "ﾃｽﾄ【ﾌﾘｶｴ】:振替");
}

TEST_F(ConversionRunTest, LengthOneTwentyWithCrLfDropsTheLastTwoBlanks) {
  system.options.crlf_each_record = true;
  write_cp932_file("in.csv", row(5));
  EXPECT_TRUE(convert().ok());
  const QByteArray bytes = read_file("out.dat");
  ASSERT_EQ(bytes.size(), 4 * 120);
  for (const QByteArray& record : output_records()) EXPECT_TRUE(record.endsWith("  \r\n"));
}

// A bank file without its trailer would be refused by the bank, or worse, sent:
// cancel keeps last month's file whole, and only the log tells of the cancel.
TEST_F(ConversionRunTest, CancelKeepsThePreviousBankFileAndCommitsTheLog) {
  write_file("out.dat", "old");
  write_file("ﾃｽﾄ.log", "\"old\"\r\n");
  write_cp932_file("in.csv", row(1) + "\r\n" + row(2) + "\r\n" + row(3) + "\r\n");
  auto run = make_run();
  run->step();
  run->step();
  run->step();
  EXPECT_EQ(read_file("ﾃｽﾄ.log"), "\"old\"\r\n") << "the new log waits for the run's end";
  run->cancel();
  EXPECT_FALSE(run->running());
  EXPECT_TRUE(run->result().cancelled());
  EXPECT_EQ(read_file("out.dat"), "old");
  EXPECT_EQ(log_lines(), (QStringList{kCompanyLine, start_marker(), cancel_marker()}));
  run->step();
  run->cancel();
  EXPECT_EQ(read_file("out.dat"), "old");
  EXPECT_EQ(log_lines().size(), 3);
  EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file left";
}

// A megabyte is no payment row: the row is logged, writes no record and keeps
// its number, so the rows after it are numbered as in the list; memory stays
// that of a short line.
TEST_F(ConversionRunTest, ARowOverAMegabyteIsAnErrorOfItsOwnRowWithoutARecord) {
  const QString bad_bank = "x,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,3,,,,,";
  write_cp932_file("in.csv", row(1) + "\r\n" + QString(2 << 20, u'9') + "\r\n" + bad_bank);
  auto run = make_run();
  run_all(*run);
  EXPECT_TRUE(run->result().ok());
  EXPECT_TRUE(run->has_errors());
  EXPECT_EQ(log_lines(),
            (QStringList{kCompanyLine, start_marker(), "ボディ：000002件目の行が長すぎます。",
                         "ボディ：000003件目の[2]振込銀行番号が正しくありません。", end_marker()}));
  EXPECT_EQ(kinds_written(), "12289");
  EXPECT_EQ(output_records()[3], trailer("000002000000000004"));
  EXPECT_EQ(run->progress_value(), run->progress_maximum());
}

TEST_F(ConversionRunTest, CancelBeforeTheFirstStepTouchesNothing) {
  write_file("out.dat", "old");
  write_file("ﾃｽﾄ.log", "\"old\"\r\n");
  write_cp932_file("in.csv", row(1));
  auto run = make_run();
  run->cancel();
  EXPECT_TRUE(run->result().cancelled());
  EXPECT_EQ(read_file("out.dat"), "old");
  EXPECT_EQ(read_file("ﾃｽﾄ.log"), "\"old\"\r\n");
}

TEST_F(ConversionRunTest, ProgressCountsCharactersOfLinesAgainstBytes) {
  write_cp932_file("in.csv", "ｱｲ,漢字\r\n" + row(1) + "\r\n");
  company.credit.skip_header_rows = "1";
  auto run = make_run();
  run->step();
  EXPECT_EQ(run->progress_maximum(), 7 + 2 + encode_cp932(row(1)).bytes.size() + 2);
  EXPECT_EQ(run->progress_value(), 5);
  run->step();
  EXPECT_EQ(run->progress_value(), 5 + row(1).size());
  run->step();
  EXPECT_FALSE(run->running());
  EXPECT_EQ(run->progress_value(), run->progress_maximum());
}

TEST_F(ConversionRunTest, AWorkbookIsReadFromItsTextFile) {
  write_file("支払.xls", "not text");
  write_cp932_file("tbk.tmp", row(42));
  company.credit.input_file = "支払.xls";
  auto run = make_run();
  run_all(*run);
  EXPECT_EQ(run->input_file(), "tbk.tmp");
  EXPECT_EQ(amounts_written(), QList<QByteArray>{"0000000042"});
}

// The office suite computed the workbook's formulas on the day of the run: the
// log says so, once, before the rows.
TEST_F(ConversionRunTest, AWorkbookComputedOnTheDayIsNotedOnce) {
  write_file("支払.xlsx", "not text");
  write_cp932_file("tbk.tmp", row(299250) + "\r\n" + row(1) + "\r\n");
  company.credit.input_file = "支払.xlsx";
  auto run = make_run();
  run->set_volatile_function(QStringLiteral("TODAY"));
  run_all(*run);
  EXPECT_EQ(log_lines(),
            (QStringList{kCompanyLine, start_marker(),
                         QStringLiteral("注意：ブックの数式に変換する日で値が変わる関数（TODAY）が"
                                        "あります。変換した日の値で変換しました。"),
                         end_marker()}));
}

class FailedStart : public ConversionRunTest {
 protected:
  void SetUp() override {
    write_cp932_file("in.csv", row(1));
    write_file("out.dat", "old output");
    write_file("ﾃｽﾄ.log", "\"old log\"\r\n");
  }
  // The run refused to start, said why, and left every file as it was.
  void expect_nothing_touched(const QString& message_part) {
    auto run = make_run();
    run_all(*run);
    EXPECT_TRUE(run->result().failed());
    EXPECT_TRUE(run->result().message().contains(message_part))
        << run->result().message().toStdString();
    EXPECT_EQ(read_file("out.dat"), "old output");
    EXPECT_EQ(read_file("ﾃｽﾄ.log"), "\"old log\"\r\n");
    EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden).size(), 3 + extra_files_);
  }
  int extra_files_ = 0;
};

TEST_F(FailedStart, MissingInput) {
  company.credit.input_file = "none.csv";
  auto run = make_run();
  run_all(*run);
  EXPECT_EQ(run->result().message(), "入力ファイルが存在しません。");
  expect_nothing_touched("入力ファイルが存在しません。");
}

TEST_F(FailedStart, WorkbookWithoutItsTextFile) {
  write_file("LIST.XLS", "binary");
  extra_files_ = 1;
  company.credit.input_file = "LIST.XLS";
  expect_nothing_touched("tbk.tmp");
}

TEST_F(FailedStart, InputThatCannotBeOpened) {
  QDir().mkdir("folder.csv");
  company.credit.input_file = "folder.csv";
  expect_nothing_touched("folder.csv");
}

TEST_F(FailedStart, OutputInAFolderThatDoesNotExist) {
  company.credit.output_file = "nowhere/out.dat";
  expect_nothing_touched("nowhere/out.dat");
}

TEST_F(FailedStart, LogThatCannotBeWritten) {
  QFile::remove("ﾃｽﾄ.log");
  QDir().mkdir("ﾃｽﾄ.log");
  auto run = make_run();
  run_all(*run);
  EXPECT_TRUE(run->result().failed());
  EXPECT_TRUE(run->result().message().contains("ﾃｽﾄ.log")) << run->result().message().toStdString();
  EXPECT_EQ(read_file("out.dat"), "old output");
}

// A log that fills the disk stops the run at its first line; the bank file is not
// replaced by a half-written one.
TEST_F(FailedStart, LogThatCannotBeWrittenTo) {
  if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  QFile::remove("ﾃｽﾄ.log");
  ASSERT_TRUE(QFile::link("/dev/full", "ﾃｽﾄ.log"));
  auto run = make_run();
  run_all(*run);
  EXPECT_TRUE(run->result().failed());
  EXPECT_TRUE(run->result().message().contains("ﾃｽﾄ.log")) << run->result().message().toStdString();
  EXPECT_EQ(read_file("out.dat"), "old output");
  EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden).size(), 3);
}

// A disk that fills while the bank file is written: the run must say so and keep
// the old file, never report a cut-short bank file as converted.
TEST_F(FailedStart, OutputThatFillsTheDisk) {
  QString rows;
  for (int i = 0; i < 300; ++i) rows += row(i) + "\r\n";
  write_cp932_file("in.csv", rows);
  std::unique_ptr<ConversionRun> run;
  {
    // The output is 36,360 bytes: only the last writes, at the end of the run, fail.
    const testing::FileSizeLimit limit(34000);
    run = make_run();
    run_all(*run);
  }
  EXPECT_TRUE(run->result().failed());
  EXPECT_TRUE(run->result().message().contains("out.dat")) << run->result().message().toStdString();
  EXPECT_EQ(read_file("out.dat"), "old output");
}

TEST_F(FailedStart, CompanyNameThatIsNoFileName) {
  system.current_company = "../ﾃｽﾄ";
  auto run = make_run();
  run_all(*run);
  EXPECT_TRUE(run->result().failed());
  EXPECT_FALSE(run->result().message().isEmpty());
  EXPECT_EQ(read_file("out.dat"), "old output");
}

}  // namespace
}  // namespace tsubakuro
