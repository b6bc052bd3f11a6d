#pragma once

#include "cli/command_line.h"
#include "cli/convert_command.h"
#include "core/zengin/transfer_list.h"

namespace tsubakuro::cli {

// Writes the transfer list of `bank_file` to `pdf` and prints its totals:
// kConverted when it was written and its totals are the trailer's,
// kConvertedWithErrors when they are not (the list says so in red), and
// kNotConverted when the bank file cannot be read or the PDF written.
ExitStatus write_list_pdf(const QString& bank_file, const QString& pdf,
                          const TransferListOptions& options = {});

// tsubakuro-convert --print-list PDF BANKFILE, in the folder of --dir.
ExitStatus run_print_list(const PrintListRequest& request, const QString& directory);

}  // namespace tsubakuro::cli
