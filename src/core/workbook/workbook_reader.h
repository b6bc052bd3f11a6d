#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "core/text/result.h"

namespace tsubakuro {

// Reads the first worksheet of an ".xlsx", ".xlsm" or ".ods" workbook without the
// office suite and writes its cell values to `target` as the suite's export writes
// them (see sheet_text.h). The sheet is read as a stream: memory stays flat however
// many rows it has.
//
// A workbook the reader cannot promise to write as the suite would (damaged,
// encrypted, a cell kind or number format it does not know) is Unsupported, with
// the reason; the caller then hands it to the office suite. A damaged workbook, or
// one past the sizes a payment list has, is an Error: the last word, as is any
// other; Cancelled follows a stop request. `target` is replaced only on success.
//
// A workbook left to the suite because a formula's value changes with the day it
// is computed names that function in `volatile_function`, when given.
Result<void> read_workbook(const QString& workbook, const QString& target,
                           const std::function<bool()>& stop_requested = {},
                           std::optional<QString>* volatile_function = nullptr);

}  // namespace tsubakuro
