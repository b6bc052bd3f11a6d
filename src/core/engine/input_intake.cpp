#include "core/engine/input_intake.h"

#include <array>

namespace tsubakuro {

bool is_workbook_path(const QString& path) {
  static constexpr std::array<QStringView, 4> kWorkbookSuffixes = {u".xls", u".xlsx", u".xlsm",
                                                                   u".ods"};
  for (QStringView suffix : kWorkbookSuffixes) {
    if (path.endsWith(suffix, Qt::CaseInsensitive)) return true;
  }
  return false;
}

QString run_input_file(const QString& configured_path) {
  return is_workbook_path(configured_path) ? QString::fromLatin1(kWorkbookTextFile)
                                           : configured_path;
}

}  // namespace tsubakuro
