#pragma once

#include "core/text/result.h"

namespace tsubakuro {

class ReadContext;
class SheetWriter;
class ZipArchive;

// Writes the cells of an Office Open XML workbook's first worksheet (".xlsx",
// ".xlsm"). Unsupported says why the reader leaves the workbook to the office
// suite; Cancelled, that a stop was asked for.
Result<void> read_first_xlsx_sheet(const ZipArchive& zip, SheetWriter& writer,
                                   ReadContext& context);

}  // namespace tsubakuro
