// A full disk must never cost the user a settings file or the last bank file.
#include <gtest/gtest.h>

#include <QFile>

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

QMap<QString, QByteArray> without_logs(QMap<QString, QByteArray> files) {
  files.removeIf([](const auto& file) { return file.key().endsWith(QStringLiteral(".log")); });
  return files;
}

TEST(FullDisk, SavingTheSettingsFailsWithAMessageAndKeepsBothFiles) {
  FullDiskFolder disk;
  copy_sample_company();
  SystemSettings system;
  init_field_dictionary(system);
  load_system_settings(system);
  const Result<LoadedCompanySettings> loaded =
      load_company_settings(QString::fromUtf8(kSampleCompany));
  ASSERT_TRUE(loaded.ok());
  CompanySettings company = loaded->settings;
  const auto before = folder_snapshot();

  disk.fill();
  system.current_company = QStringLiteral("ツバクロ商会");
  company.credit.output_file = QStringLiteral("ZENGIN-OUTPUT-WITH-A-LONGER-NAME.DAT");
  const Result<void> system_saved = save_system_settings(system);
  const Result<void> company_saved =
      save_company_settings(QString::fromUtf8(kSampleCompany), company);

  EXPECT_FALSE(system_saved.ok());
  EXPECT_TRUE(system_saved.message().contains(QStringLiteral("tbk.ini")))
      << system_saved.message().toStdString();
  EXPECT_FALSE(company_saved.ok());
  EXPECT_TRUE(company_saved.message().contains(QStringLiteral("サンプル商事.cfg")))
      << company_saved.message().toStdString();
  // Not a byte changed and no half-written temporary file left behind.
  EXPECT_EQ(changed_files(before, folder_snapshot()).join(u", ").toStdString(), "")
      << (disk.is_tmpfs() ? "tmpfs" : "file-size limit");
}

TEST(FullDisk, ADateThatCannotBeSavedStopsTheConverterBeforeItTouchesAnything) {
  FullDiskFolder disk;
  copy_sample_company();
  const auto before = folder_snapshot();
  disk.fill();

  const ConverterRun run = run_converter({QStringLiteral("--date"), QStringLiteral("0505")}, &disk);
  EXPECT_FALSE(run.crashed || run.timed_out) << run.output.toStdString();
  EXPECT_EQ(run.exit_code, 2) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("サンプル商事.cfg"))) << run.output.toStdString();
  EXPECT_EQ(changed_files(before, folder_snapshot()).join(u", ").toStdString(), "");
}

TEST(FullDisk, AConversionThatCannotBeWrittenKeepsTheLastBankFile) {
  FullDiskFolder disk;
  copy_sample_company();
  write_file(QString::fromUtf8(kSampleCreditOutput), QByteArray("last month's bank file\r\n"));
  const auto before = without_logs(folder_snapshot());
  disk.fill();

  const ConverterRun run = run_converter({}, &disk);
  EXPECT_FALSE(run.crashed || run.timed_out) << run.output.toStdString();
  EXPECT_EQ(run.exit_code, 2) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("エラー"))) << run.output.toStdString();
  // The log is the run's own and starts afresh with each run; everything else stays.
  EXPECT_EQ(changed_files(before, without_logs(folder_snapshot())).join(u", ").toStdString(), "");
}

}  // namespace
}  // namespace tsubakuro::testing
