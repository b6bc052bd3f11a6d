#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "run_fixture.h"

namespace tsubakuro {
namespace {

using testing::fixed_moment;
using testing::read_file;
using testing::ScopedWorkingDir;
using testing::source_path;

// Each case folder holds in/ (tbk.ini, the company's .cfg and its payment list)
// and expected/ (the bank file and the log the run must write, byte for byte).
QString case_folder(const std::string& name) {
  return source_path("tests/data/engine/" + QString::fromStdString(name));
}

std::vector<std::string> case_names() {
  std::vector<std::string> names;
  for (const QString& name :
       QDir(source_path("tests/data/engine")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    names.push_back(name.toStdString());
  return names;
}

// Where the first difference lies, so a failing case says more than "differs".
std::string first_difference(const QByteArray& actual, const QByteArray& expected) {
  qsizetype at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
         ", first difference at byte " + std::to_string(at);
}

class GoldenConversion : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenConversion, WritesTheExpectedFiles) {
  const QDir in(case_folder(GetParam()) + "/in");
  const QDir expected(case_folder(GetParam()) + "/expected");
  ScopedWorkingDir dir;
  for (const QString& name : in.entryList(QDir::Files))
    ASSERT_TRUE(QFile::copy(in.filePath(name), name));

  SystemSettings system;
  init_field_dictionary(system);
  load_system_settings(system);
  const Result<LoadedCompanySettings> company = load_company_settings(system.current_company);
  ASSERT_TRUE(company.ok()) << company.message().toStdString();
  ConversionRun run(system, company->settings);
  run.set_clock(fixed_moment);
  while (run.running()) run.step();
  EXPECT_TRUE(run.result().ok());

  const QStringList expected_files = expected.entryList(QDir::Files);
  ASSERT_FALSE(expected_files.isEmpty());
  for (const QString& name : expected_files) {
    const QByteArray actual = read_file(name);
    const QByteArray wanted = read_file(expected.filePath(name));
    EXPECT_TRUE(actual == wanted) << name.toStdString() << ": " << first_difference(actual, wanted);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenConversion, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tsubakuro
