#include "core/workbook/workbook_kind.h"

namespace tsubakuro {
namespace {

// ".xls" is the compound file of Excel 97-2003; ".xlsx" and ".xlsm" are the
// Office Open XML zip archive Excel writes; ".ods" is OpenDocument's zip archive.
constexpr WorkbookKind kWorkbookKinds[] = {
    {u".xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8, "MS Excel 97", "Excel 97-2003 ブック", false,
     false},
    {u".xlsx", "PK\x03\x04", 4, "Calc MS Excel 2007 XML", "Excel ブック", true, false},
    {u".xlsm", "PK\x03\x04", 4, "Calc MS Excel 2007 XML", "Excel マクロ有効ブック", true, false},
    {u".ods", "PK\x03\x04", 4, "calc8", "OpenDocument スプレッドシート", true, true},
};

}  // namespace

const WorkbookKind* workbook_kind(const QString& path) {
  for (const WorkbookKind& kind : kWorkbookKinds) {
    if (path.endsWith(kind.suffix, Qt::CaseInsensitive)) return &kind;
  }
  return nullptr;
}

bool is_workbook_path(const QString& path) { return workbook_kind(path) != nullptr; }

bool is_natively_read_workbook(const QString& path) {
  const WorkbookKind* kind = workbook_kind(path);
  return kind && kind->natively_read;
}

}  // namespace tsubakuro
