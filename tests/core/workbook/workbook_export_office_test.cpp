#include "core/workbook/workbook_export.h"

#include <zip.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <string_view>

#include "core/text/cp932.h"
#include "result_checks.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::failure_kind;
using testing::kPaymentsSheet;
using testing::payments_workbook;
using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_file;

// The workbooks are the project's own sheet saved by the office suite in each kind a
// payment list may be kept in (tests/data/conversion/make_workbooks.sh).
class WorkbookExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (office_suite_program().isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }

  // Runs an export with an event loop, as the preparation window does.
  static Result<void> run_async(WorkbookExport& conversion, bool cancel_at_once = false) {
    Result<void> result = failure(QString());
    QEventLoop loop;
    bool done = false;
    conversion.start([&](const Result<void>& r) {
      result = r;
      done = true;
      loop.quit();
    });
    if (cancel_at_once) conversion.cancel();
    if (!done) loop.exec();
    return result;
  }
};

TEST_F(WorkbookExportTest, EveryWorkbookKindReplacesTheTextFileWithTheFirstSheetsValues) {
  for (const char* kind : {"xls", "xlsx", "ods"}) {
    SCOPED_TRACE(kind);
    ScopedWorkingDir dir;
    const QString workbook = QStringLiteral("振込.") + QString::fromLatin1(kind);
    ASSERT_TRUE(QFile::copy(payments_workbook(kind), workbook));
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    WorkbookExport conversion(workbook);
    // The window runs the suite under its event loop, the command-line converter
    // without one.
    const Result<void> result =
        std::string_view(kind) == "ods" ? run_async(conversion) : conversion.run();
    EXPECT_EQ(failure_kind(result), std::nullopt) << result.message().toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), encode_cp932(kPaymentsSheet).bytes);
    EXPECT_EQ(QDir().entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 2)
        << "nothing but the workbook and tbk.tmp is left in the working folder";
  }
}

TEST_F(WorkbookExportTest, UnreadableWorkbooksFailNamingTheFileAndKeepTheOldTextFile) {
  ScopedWorkingDir dir;
  write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
  write_file(QStringLiteral("壊れた.xls"), QByteArray(3000, '\x7f'));
  write_file(QStringLiteral("空.xls"), QByteArray());
  write_file(QStringLiteral("途中まで.xlsx"), QByteArray("PK\x03\x04", 4) + QByteArray(500, 'x'));
  // A workbook's first bytes over rows of text: read as text, they would be data.
  write_file(QStringLiteral("本文が壊れた.xls"),
             QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) +
                 QByteArray("0005,1,1,12345,1000\r\n").repeated(40));
  write_file(QStringLiteral("表.xls"), "<table><tr><td>0005</td></tr></table>");
  write_file(QStringLiteral("ブック.ods"), read_file(payments_workbook("xlsx")));
  for (const char* name : {"壊れた.xls", "空.xls", "途中まで.xlsx", "ない.xls", "本文が壊れた.xls",
                           "表.xls", "ブック.ods"}) {
    SCOPED_TRACE(name);
    WorkbookExport conversion(QString::fromUtf8(name));
    const Result<void> result = conversion.run();
    EXPECT_EQ(failure_kind(result), Failure::Kind::Error);
    EXPECT_TRUE(result.message().contains(QString::fromUtf8(name)))
        << result.message().toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

TEST_F(WorkbookExportTest, CancelStopsTheSuiteAndWritesNothing) {
  ScopedWorkingDir dir;
  // ".xls" is the kind only the suite reads: the program's own reader may finish a
  // workbook this small before any cancel.
  WorkbookExport conversion(payments_workbook("xls"));
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(failure_kind(run_async(conversion, /*cancel_at_once=*/true)), Failure::Kind::Cancelled);
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_FALSE(conversion.active());
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.tmp")));
}

TEST_F(WorkbookExportTest, TimeLimitStopsTheSuiteWithAMessage) {
  ScopedWorkingDir dir;
  // The time limit is the suite's: ".xls" is the kind only the suite reads.
  WorkbookExport conversion(payments_workbook("xls"), QStringLiteral("tbk.tmp"),
                            /*time_limit_ms=*/1);
  const Result<void> result = run_async(conversion);
  EXPECT_EQ(failure_kind(result), Failure::Kind::Error);
  EXPECT_TRUE(result.message().contains(QStringLiteral("制限時間")))
      << result.message().toStdString();
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.tmp")));
}

TEST(WorkbookRouteTest, WorkbookKindsAndTheOfficeSuite) {
  struct Case {
    const char* path;
    bool suite;
    WorkbookRoute route;
  };
  const Case cases[] = {
      {"data.csv", true, WorkbookRoute::PlainText},
      {"data.txt", false, WorkbookRoute::PlainText},
      {"data.xls", true, WorkbookRoute::Export},
      {"DATA.XLS", true, WorkbookRoute::Export},
      {"data.xlsx", true, WorkbookRoute::Export},
      {"data.ods", true, WorkbookRoute::Export},
      {"data.Xls", false, WorkbookRoute::ExportedByHand},
      // The program reads these itself.
      {"data.xlsx", false, WorkbookRoute::Export},
      {"data.XLSM", false, WorkbookRoute::Export},
      {"data.ods", false, WorkbookRoute::Export},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(workbook_route(QString::fromLatin1(c.path), c.suite), c.route)
        << c.path << (c.suite ? " with" : " without") << " the office suite";
  }
}

// A formula whose value is the day's is computed by the suite, which the export
// names for the run's log; the program's own reader would have taken the value
// saved with the file.
TEST_F(WorkbookExportTest, AFormulaOfTheDayIsComputedByTheSuiteAndNamed) {
  ScopedWorkingDir dir;
  const QByteArray sheet =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
      "<row r=\"1\"><c r=\"A1\"><f>IF(TODAY()&gt;DATE(2000,1,1),299250,285000)</f>"
      "<v>285000</v></c></row></sheetData></worksheet>";
  const std::pair<const char*, QByteArray> members[] = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" "
       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
       "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
       "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
       "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
       "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/></Types>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
       "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml",
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
       "<sheet name=\"1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
       "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml", sheet},
  };
  int error = 0;
  zip_t* archive = zip_open("振込.xlsx", ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, bytes] : members) {
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    ASSERT_GE(zip_file_add(archive, name, source, ZIP_FL_OVERWRITE), 0);
  }
  ASSERT_EQ(zip_close(archive), 0);

  WorkbookExport conversion(QStringLiteral("振込.xlsx"));
  const Result<void> result = conversion.run();
  EXPECT_EQ(failure_kind(result), std::nullopt) << result.message().toStdString();
  EXPECT_EQ(conversion.read_by(), WorkbookReader::OfficeSuite);
  EXPECT_EQ(conversion.volatile_function(), QStringLiteral("TODAY"));
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "299250\n");
}

}  // namespace
}  // namespace tsubakuro
