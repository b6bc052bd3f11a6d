#pragma once

#include <QString>
#include <functional>

#include "core/text/result.h"

namespace tsubakuro {

// Reads the first worksheet of an ".xlsx", ".xlsm" or ".ods" workbook without the
// office suite and writes its cell values to `target` as the suite's export writes
// them (see sheet_text.h). The sheet is read as a stream: memory stays flat however
// many rows it has.
//
// A workbook the reader cannot promise to write as the suite would (damaged,
// encrypted, a cell kind or number format it does not know) is Unsupported, with
// the reason; the caller then hands it to the office suite. An Error is the last
// word, Cancelled follows a stop request. `target` is replaced only on success.
Result<void> read_workbook(const QString& workbook, const QString& target,
                           const std::function<bool()>& stop_requested = {});

}  // namespace tsubakuro
