#include <gtest/gtest.h>
#include <QFile>

#include "convert_process.h"
#include "core/settings/company_settings.h"
#include "core/text/cp932.h"
#include "core/workbook/workbook_export.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

// The office suite names its output after the sheet: on a machine without a UTF-8
// locale, or with a Japanese one that is not installed, it used to write nothing for
// a sheet named 振込データ, and the converter said the workbook was broken. Whatever
// the machine's locale, the suite now gives the same rows and the same bank file.
TEST(ConvertWorkbookLocale, ASheetWithAJapaneseNameIsExportedWhateverTheLocale) {
  if (office_suite_program().isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  ScopedWorkingDir dir;
  copy_sample_company();
  const QString book = QStringLiteral("振込データ.xls");
  ASSERT_TRUE(
      QFile::copy(source_path(QStringLiteral("tests/data/workbooks/gnumeric-payments.xls")), book));
  const Result<LoadedCompanySettings> loaded =
      load_company_settings(QStringLiteral("サンプル商事"));
  ASSERT_TRUE(loaded.ok());
  CompanySettings company = loaded->settings;
  company.credit.input_file = book;
  ASSERT_TRUE(save_company_settings(QStringLiteral("サンプル商事"), company).ok());

  const QByteArray saved = qgetenv("LC_ALL");
  QByteArray first_rows;
  QByteArray first_bank_file;
  for (const char* locale : {"C", "ja_JP.UTF-8", "C.UTF-8"}) {
    SCOPED_TRACE(locale);
    qputenv("LC_ALL", locale);
    QFile::remove(QStringLiteral("tbk.tmp"));
    QFile::remove(QStringLiteral("FURIKOMI.DAT"));
    const ConvertProcessResult result = run_tsubakuro_convert({});
    EXPECT_NE(result.exit_code, 2) << result.standard_error.toStdString();
    EXPECT_TRUE(result.standard_error.contains(QStringLiteral("ブックを読みました（LibreOffice）")))
        << result.standard_error.toStdString();
    const QByteArray rows = read_file(QStringLiteral("tbk.tmp"));
    EXPECT_TRUE(decode_cp932(rows).startsWith(QStringLiteral("銀行コード,銀行名,支店コード")));
    // Dates in the suite's Japanese form.
    EXPECT_TRUE(decode_cp932(rows).contains(QStringLiteral(",2025/04/11,09:30:15,")));
    if (first_rows.isEmpty()) {
      first_rows = rows;
      first_bank_file = read_file(QStringLiteral("FURIKOMI.DAT"));
    }
    EXPECT_EQ(rows, first_rows);
    EXPECT_EQ(read_file(QStringLiteral("FURIKOMI.DAT")), first_bank_file);
  }
  if (saved.isNull())
    qunsetenv("LC_ALL");
  else
    qputenv("LC_ALL", saved);
}

}  // namespace
}  // namespace tsubakuro::testing
