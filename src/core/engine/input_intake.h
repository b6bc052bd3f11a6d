#pragma once

#include <QString>

namespace tsubakuro {

inline constexpr char kWorkbookTextFile[] = "tbk.tmp";

// A payment list kept as a workbook: the run reads its rows from "tbk.tmp" in the
// working folder instead. ".xls" in any case, and (a zip archive is no
// comma-separated text) ".xlsx", ".xlsm" and ".ods".
bool is_workbook_path(const QString& path);

// The file a run reads for a configured input path.
QString run_input_file(const QString& configured_path);

}  // namespace tsubakuro
