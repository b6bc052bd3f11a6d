#pragma once

#include <QString>
#include <QStringView>

namespace tsubakuro {

inline constexpr char kWorkbookTextFile[] = "tbk.tmp";

// A kind of workbook a payment list may be kept as. A run reads such a list from
// "tbk.tmp" in the working folder instead: the first worksheet's cell values as
// comma-separated CP932 text.
struct WorkbookKind {
  QStringView suffix;
  const char* magic;  // the container's first bytes
  qsizetype magic_size;
  // The office suite's import filter: named, it never guesses, and a file it cannot
  // open as this kind fails instead of being read as plain text (a damaged workbook
  // would otherwise come out as rows of garbage, and garbage as data records).
  const char* office_filter;
  const char* label;  // as a user knows it, in Japanese
  // Whether the program reads it itself; the others need the office suite.
  bool natively_read;
  bool open_document;  // OpenDocument, not Office Open XML
};

// The kind a path's name says, or nullptr when it names no workbook.
const WorkbookKind* workbook_kind(const QString& path);

// ".xls" in any case, and (a zip archive is no comma-separated text) ".xlsx",
// ".xlsm" and ".ods".
bool is_workbook_path(const QString& path);

// True for the workbook kinds the program reads without the office suite.
bool is_natively_read_workbook(const QString& path);

}  // namespace tsubakuro
