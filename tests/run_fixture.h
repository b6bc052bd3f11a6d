#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "test_support.h"

namespace tsubakuro::testing {

// The moment every log marker of a test run shows.
QDateTime fixed_moment();
inline constexpr char kFixedStamp[] = "2026/04/25 9:05:07";

// A company "ﾃｽﾄ" whose credit list "in.csv" feeds the data fields straight from
// columns 1 to 14, written to "out.dat", inside a fresh working folder.
class RunFixture {
 public:
  RunFixture();

  // Runs to the end, step by step; returns the number of steps taken.
  int run_all(ConversionRun& run);
  // A run of the current settings with the fixed clock.
  std::unique_ptr<ConversionRun> make_run();
  // Runs the current settings to the end.
  Result<void> convert();

  // The log's lines without their quotes.
  QStringList log_lines() const;
  // The output cut into records of the run's length.
  QList<QByteArray> output_records(int length = 120) const;

  ScopedWorkingDir dir;
  SystemSettings system;
  CompanySettings company;
};

}  // namespace tsubakuro::testing
