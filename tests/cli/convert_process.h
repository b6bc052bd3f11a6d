#pragma once

#include <QString>
#include <QStringList>

namespace tsubakuro::testing {

// What build/tsubakuro-convert said and returned.
struct ConvertProcessResult {
  int exit_code = -1;
  QString standard_output;
  QString standard_error;
};

// Runs the converter in the current folder and waits for it.
ConvertProcessResult run_tsubakuro_convert(const QStringList& arguments);

}  // namespace tsubakuro::testing
