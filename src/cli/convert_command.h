#pragma once

#include "cli/command_line.h"

namespace tsubakuro::cli {

enum ExitStatus {
  kConverted = 0,
  kConvertedWithErrors = 1,
  kNotConverted = 2,
  kCancelled = 130,  // the shell's own number for a command ended by Ctrl+C
};

// One conversion as the desktop program's 変換処理 makes it: the date prompt's
// work (load the company, refuse a kind not in use, store the date), then the
// run, step by step, with the outcome printed in the program's own words.
ExitStatus run_convert(const ConvertRequest& request);

}  // namespace tsubakuro::cli
