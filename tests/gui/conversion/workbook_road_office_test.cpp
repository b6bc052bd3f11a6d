#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>

#include "conversion_fixture.h"
#include "core/settings/company_settings.h"
#include "core/workbook/workbook_export.h"

namespace tsubakuro::testing {
namespace {

const QString kInput = QStringLiteral("振込データ.csv");
const QString kOutput = QStringLiteral("FURIKOMI.DAT");

const Notice kFinished{QStringLiteral("変換終了"), QStringLiteral("変換が終了しました。")};

void use_input(const QString& path) {
  CompanySettings company;
  if (Result<LoadedCompanySettings> loaded = load_company_settings(QStringLiteral("サンプル商事")))
    company = std::move(loaded->settings);
  company.credit.input_file = path;
  ASSERT_TRUE(save_company_settings(QStringLiteral("サンプル商事"), company).ok());
}

void keep_clean_rows(const QString& name = kInput) {
  QList<QByteArray> lines = read_file(name).split('\n');
  write_file(name, lines.mid(0, 12).join('\n') + '\n');
}

// The sample's payment list as the accountant keeps it in a workbook: the
// office suite reads the text (CP932) and saves it as ".xls".
void make_workbook_from(const QString& csv, const QString& workbook) {
  QTemporaryDir scratch;
  QProcess suite;
  suite.setWorkingDirectory(scratch.path());
  QFile::copy(csv, scratch.filePath(QStringLiteral("list.csv")));
  suite.start(
      office_suite_program(),
      {QStringLiteral("-env:UserInstallation=file://") + scratch.filePath(QStringLiteral("p")),
       QStringLiteral("--headless"),
       QStringLiteral("--infilter=Text - txt - csv (StarCalc):44,34,60,1"),
       QStringLiteral("--convert-to"), QStringLiteral("xls"), QStringLiteral("list.csv")});
  ASSERT_TRUE(suite.waitForFinished(120'000));
  ASSERT_TRUE(QFile::copy(scratch.filePath(QStringLiteral("list.xls")), workbook));
}

class WorkbookRoad : public ConversionWindowTest {
 protected:
  void SetUp() override {
    ConversionWindowTest::SetUp();
    keep_clean_rows();
  }

  void convert_through_windows() {
    ASSERT_NE(open_date_prompt(), nullptr);
    start_conversion(QStringLiteral("4"), QStringLiteral("25"));
    ASSERT_TRUE(wait_for_conversion_end());
  }
};

class WorkbookRoadWithOfficeSuite : public WorkbookRoad {
 protected:
  void SetUp() override {
    if (office_suite_program().isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    WorkbookRoad::SetUp();
  }
};

TEST_F(WorkbookRoadWithOfficeSuite, WorkbookGivesTheBankFileOfItsTextOnBothRoads) {
  make_workbook_from(kInput, QStringLiteral("振込データ.xls"));
  use_input(QStringLiteral("振込データ.xls"));
  write_file(QStringLiteral("tbk.tmp"), "an old export that must not be read\r\n");
  convert_through_windows();
  EXPECT_EQ(answerer_.notices, QList<Notice>{kFinished});

  // The text road and the command-line converter's workbook road, each in a folder
  // of its own, write the same bank file.
  for (const bool workbook : {false, true}) {
    SCOPED_TRACE(workbook ? "tsubakuro-convert on the workbook" : "tsubakuro-convert on the text");
    QTemporaryDir other;
    const QDir there(other.path());
    copy_sample_company(other.path());
    QFile::remove(there.filePath(kInput));
    ASSERT_TRUE(QFile::copy(kInput, there.filePath(kInput)));
    if (workbook) {
      ASSERT_TRUE(QFile::copy(QStringLiteral("振込データ.xls"),
                              there.filePath(QStringLiteral("振込データ.xls"))));
      QFile::remove(there.filePath(QStringLiteral("サンプル商事.cfg")));
      ASSERT_TRUE(QFile::copy(QStringLiteral("サンプル商事.cfg"),
                              there.filePath(QStringLiteral("サンプル商事.cfg"))));
    }
    ASSERT_EQ(run_tsubakuro_convert(
                  {QStringLiteral("--company"), kCompany, QStringLiteral("--kind"),
                   QStringLiteral("振込"), QStringLiteral("--date"), QStringLiteral("0425")},
                  other.path()),
              0);
    EXPECT_EQ(read_file(kOutput), read_file(there.filePath(kOutput)));
  }
  EXPECT_EQ(read_file(kOutput).size(), 14 * 122);
}

TEST_F(WorkbookRoadWithOfficeSuite, StopWhileTheWorkbookIsReadOpensNoRun) {
  ASSERT_TRUE(QFile::copy(source_path(QStringLiteral("tests/data/conversion/payments.xls")),
                          QStringLiteral("振込.xls")));
  use_input(QStringLiteral("振込.xls"));
  write_file(kOutput, "last month's file");
  QTimer presser;
  presser.setInterval(5);
  bool pressed = false;
  QObject::connect(&presser, &QTimer::timeout, [&] {
    QWidget* preparation = child(QStringLiteral("Excel変換"));
    if (preparation == nullptr) return;
    auto* label = preparation->findChild<QLabel*>(QStringLiteral("Label1"));
    if (!label->text().contains(QStringLiteral("振込.xls"))) return;
    presser.stop();
    pressed = true;
    click(preparation, QStringLiteral("Command1(0)"));
  });
  presser.start();
  convert_through_windows();
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(answerer_.notices.isEmpty());
  EXPECT_EQ(read_file(kOutput), "last month's file");
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.tmp")));
  EXPECT_FALSE(QFile::exists(QStringLiteral("サンプル商事.log")));
}

TEST_F(WorkbookRoadWithOfficeSuite, UnreadableWorkbookIsToldByNameAndStartsNoRun) {
  write_file(QStringLiteral("振込.xlsx"), QByteArray(2000, 'x'));
  write_file(QStringLiteral("tbk.tmp"), "an old export that must not be read\r\n");
  use_input(QStringLiteral("振込.xlsx"));
  write_file(kOutput, "last month's file");
  convert_through_windows();
  ASSERT_EQ(answerer_.notices.size(), 1);
  EXPECT_EQ(answerer_.notices[0].title, QStringLiteral("エラー"));
  EXPECT_TRUE(answerer_.notices[0].message.contains(QStringLiteral("振込.xlsx")));
  EXPECT_EQ(read_file(kOutput), "last month's file");
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "an old export that must not be read\r\n");
}

// Without the office suite on the search path.
class WorkbookRoadWithoutOfficeSuite : public WorkbookRoad {
 protected:
  void SetUp() override {
    path_ = qgetenv("PATH");
    qputenv("PATH", empty_.path().toLocal8Bit());
    WorkbookRoad::SetUp();
  }
  void TearDown() override {
    WorkbookRoad::TearDown();
    qputenv("PATH", path_);
  }

 private:
  QTemporaryDir empty_;
  QByteArray path_;
};

TEST_F(WorkbookRoadWithoutOfficeSuite, XlsReadsTheTextFileTheUserExportedAndSaysSo) {
  ASSERT_TRUE(QFile::copy(kInput, QStringLiteral("tbk.tmp")));
  write_file(QStringLiteral("振込データ.XLS"), "a workbook");
  use_input(QStringLiteral("振込データ.XLS"));
  convert_through_windows();
  ASSERT_EQ(answerer_.notices.size(), 2);
  EXPECT_EQ(answerer_.notices[0].title, QStringLiteral("作業準備"));
  EXPECT_TRUE(answerer_.notices[0].message.contains(QStringLiteral("tbk.tmp")));
  EXPECT_EQ(answerer_.notices[1], kFinished);
  EXPECT_EQ(read_file(kOutput).size(), 14 * 122);
}

TEST_F(WorkbookRoadWithoutOfficeSuite, OtherWorkbooksAndAMissingExportAreRefused) {
  write_file(kOutput, "last month's file");
  for (const char* name : {"振込.xlsx", "振込.ods", "振込.xls"}) {
    SCOPED_TRACE(name);
    answerer_.notices.clear();
    write_file(QString::fromUtf8(name), "a workbook");
    use_input(QString::fromUtf8(name));
    convert_through_windows();
    ASSERT_EQ(answerer_.notices.size(), 1);
    EXPECT_EQ(answerer_.notices[0].title, QStringLiteral("エラー"));
    EXPECT_TRUE(answerer_.notices[0].message.contains(QString::fromUtf8(name)));
    EXPECT_EQ(read_file(kOutput), "last month's file");
  }
}

}  // namespace
}  // namespace tsubakuro::testing
