#pragma once

#include "core/text/result.h"

namespace tsubakuro {

class ReadContext;
class SheetWriter;
class ZipArchive;

// Writes the cells of an OpenDocument spreadsheet's first worksheet (".ods").
// Unsupported says why the reader leaves the workbook to the office suite;
// Cancelled, that a stop was asked for.
Result<void> read_first_ods_sheet(const ZipArchive& zip, SheetWriter& writer, ReadContext& context);

}  // namespace tsubakuro
