#include "cli/log_summary.h"

namespace tsubakuro::cli {

FieldErrorSummary summarize_field_errors(const ConversionRun& run, int shown) {
  const ConversionRun::LogTally& tally = run.log_tally();
  return {tally.first_errors.first(std::min<qsizetype>(shown, tally.first_errors.size())),
          tally.errors, tally.corrections, tally.warnings};
}

}  // namespace tsubakuro::cli
