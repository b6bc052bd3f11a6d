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

// Copies the sample company (tbk.ini, the .cfg and the payment lists) into the
// current folder.
void copy_sample_company();

}  // namespace tsubakuro::testing
