#include <gtest/gtest.h>

#include "convert_process.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

// The sample is written by a script, not by the program: it must still be byte
// for byte what the program itself would save, so the desktop program and the
// converter read it as a user's own files.
TEST(SampleFiles, AreExactlyWhatTheProgramSaves) {
  ScopedWorkingDir dir;
  copy_sample_company();
  const QByteArray system_file = read_file(QStringLiteral("tbk.ini"));
  const QByteArray company_file = read_file(QStringLiteral("サンプル商事.cfg"));

  SystemSettings system;
  init_field_dictionary(system);
  load_system_settings(system);
  EXPECT_EQ(system.current_company, QStringLiteral("サンプル商事"));
  EXPECT_EQ(system.field_kinds, builtin_field_kinds());
  EXPECT_EQ(system.field_names, builtin_field_names());
  const Result<LoadedCompanySettings> loaded = load_company_settings(system.current_company);
  ASSERT_TRUE(loaded.ok()) << loaded.message().toStdString();
  const CompanySettings& company = loaded->settings;
  EXPECT_TRUE(company.credit.enabled);
  EXPECT_TRUE(company.debit.enabled);

  ASSERT_TRUE(save_system_settings(system).ok());
  ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
  EXPECT_EQ(read_file(QStringLiteral("tbk.ini")), system_file);
  EXPECT_EQ(read_file(QStringLiteral("サンプル商事.cfg")), company_file);
}

}  // namespace
}  // namespace tsubakuro::testing
