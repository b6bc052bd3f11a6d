#pragma once

#include "cli/command_line.h"

namespace tsubakuro::cli {

enum ResultsStatus {
  kAllDebited = 0,
  kNotAllDebited = 1,  // some record was not debited, or the trailer says otherwise
  kResultsUnreadable = 2,
};

// Reads the returned 振替 file `results.bank_file`, prints what was and was not
// debited, and writes the records not debited where `results.failed_csv` says, in
// the columns of `request.company` when one is given.
ResultsStatus run_results(const ConvertRequest& request, const ResultsRequest& results);

}  // namespace tsubakuro::cli
