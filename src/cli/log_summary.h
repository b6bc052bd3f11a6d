#pragma once

#include <QString>
#include <QStringList>

#include "core/conversion/conversion_run.h"

namespace tsubakuro::cli {

// The field errors of a run's log: the lines between the two opening lines and
// the closing marker, without the quotes of the notation; the notes of names
// mended or filled in (補正) and the bank list's warnings (注意) are counted
// apart, as they are no errors.
struct FieldErrorSummary {
  QStringList first;  // at most the number asked for
  qint64 total = 0;
  qint64 corrections = 0;
  qint64 warnings = 0;
};

// Taken from the run's own count of what it logged: a log of a million lines is
// never read back to print twenty of them. `shown` is at most
// ConversionRun::kFirstErrorsKept.
FieldErrorSummary summarize_field_errors(const ConversionRun& run, int shown);

}  // namespace tsubakuro::cli
