#include <gtest/gtest.h>
#include <QFile>

#include "convert_process.h"
#include "core/settings/company_settings.h"
#include "core/text/cp932.h"
#include "core/workbook/workbook_export.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kOutput = QStringLiteral("FURIKOMI.DAT");
const QString kLog = QStringLiteral("サンプル商事.log");

void use_input(const QString& path) {
  const Result<LoadedCompanySettings> loaded =
      load_company_settings(QStringLiteral("サンプル商事"));
  ASSERT_TRUE(loaded.ok());
  CompanySettings company = loaded->settings;
  company.credit.input_file = path;
  ASSERT_TRUE(save_company_settings(QStringLiteral("サンプル商事"), company).ok());
}

class ConvertWorkbookKind : public ::testing::Test {
 protected:
  void SetUp() override {
    if (office_suite_program().isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    copy_sample_company();
  }
  ScopedWorkingDir dir_;
};

// The office suite reads a file it does not recognise as text; each of these would
// have become data records. Told the kind, it refuses them, and the last run's files
// stay as they were.
TEST_F(ConvertWorkbookKind, WorkbookThatIsNotOfItsKindIsRefusedAndTouchesNothing) {
  const QByteArray list_as_text = read_file(QStringLiteral("振込データ.csv"));
  const QByteArray compound_file("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  const QByteArray real_xls =
      read_file(source_path(QStringLiteral("tests/data/conversion/payments.xls")));
  const QByteArray real_ods =
      read_file(source_path(QStringLiteral("tests/data/conversion/payments.ods")));
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"本文が壊れた.xls", compound_file + list_as_text},
      {"中身はods.xlsx", real_ods},
      {"中身はxls.ods", real_xls},
      {"中身はods.xls", real_ods},
  };
  write_file(kOutput, "last month's bank file");
  write_file(kLog, "last month's log");
  write_file(QStringLiteral("tbk.tmp"), "last month's export\r\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromUtf8(c.name);
    write_file(name, c.bytes);
    use_input(name);
    const ConvertProcessResult result = run_tsubakuro_convert({});

    EXPECT_EQ(result.exit_code, 2) << result.standard_output.toStdString();
    EXPECT_TRUE(result.standard_error.contains(name)) << result.standard_error.toStdString();
    EXPECT_EQ(read_file(kOutput), "last month's bank file");
    EXPECT_EQ(read_file(kLog), "last month's log");
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month's export\r\n");
  }
}

TEST_F(ConvertWorkbookKind, XlsmIsReadAsAnExcelWorkbook) {
  ASSERT_TRUE(QFile::copy(source_path(QStringLiteral("tests/data/conversion/payments.xlsx")),
                          QStringLiteral("振込.xlsm")));
  use_input(QStringLiteral("振込.xlsm"));
  run_tsubakuro_convert({});
  EXPECT_TRUE(decode_cp932(read_file(QStringLiteral("tbk.tmp")))
                  .startsWith(QStringLiteral("銀行番号,銀行名,支店番号")));
}

// Whether the office suite (which recalculates formulas on opening) made the rows
// is said on standard error, after the rows are made.
TEST_F(ConvertWorkbookKind, TheReaderThatMadeTheRowsIsTold) {
  const struct {
    const char* book;
    const char* said;
  } cases[] = {{"payments.xlsx", "ブックを読みました（ツバクロ）"},
               {"payments.xls", "ブックを読みました（LibreOffice）"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.book);
    const QString book = QString::fromUtf8(c.book);
    QFile::remove(book);
    ASSERT_TRUE(QFile::copy(source_path(QStringLiteral("tests/data/conversion/") + book), book));
    use_input(book);
    const ConvertProcessResult result = run_tsubakuro_convert({});
    EXPECT_TRUE(result.standard_error.contains(QString::fromUtf8(c.said)))
        << result.standard_error.toStdString();
  }
}

}  // namespace
}  // namespace tsubakuro::testing
