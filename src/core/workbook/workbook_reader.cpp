#include "core/workbook/workbook_reader.h"

#include <QDir>
#include <QTemporaryFile>

#include "core/workbook/ods_reader.h"
#include "core/workbook/read_context.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/sheet_writer.h"
#include "core/workbook/workbook_kind.h"
#include "core/workbook/workbook_messages.h"
#include "core/workbook/xlsx_reader.h"
#include "core/workbook/zip_archive.h"

namespace tsubakuro {

Result<void> read_workbook(const QString& workbook, const QString& target,
                           const std::function<bool()>& stop_requested,
                           std::optional<QString>* volatile_function) {
  const auto refused = [&](const QString& reason) {
    return failure(refused_read_message(workbook, reason), Failure::Kind::Unsupported);
  };
  ReadContext context(workbook, kSuiteLocale, stop_requested);
  ZipArchive zip(workbook);
  // What is no zip archive at all may be a workbook of another kind under this
  // name; a damaged archive is damage.
  if (!zip.valid()) {
    if (zip.not_an_archive()) return refused(read_refusal_reason(ReadRefusal::NotAnArchive));
    return context.damaged(zip.cut_short() ? ReadRefusal::ArchiveCutShort
                                           : ReadRefusal::NotAnArchive);
  }
  if (zip.has_duplicate_names()) return context.damaged(ReadRefusal::DuplicateMembers);
  QTemporaryFile rows(QDir::tempPath() + QStringLiteral("/tsubakuro-XXXXXX.rows"));
  if (!rows.open()) return failure(no_temporary_file_message(workbook));
  // A workbook is read as the kind its name gives, as the office suite would be
  // told to read it: a file of the other kind under that name is a wrong file.
  const WorkbookKind* kind = workbook_kind(workbook);
  const bool named_ods = kind && kind->open_document;
  if (named_ods != zip.contains(QStringLiteral("mimetype")))
    return failure(not_a_workbook_message(workbook, kind));
  SheetWriter writer(rows);
  const Result<void> read = named_ods ? read_first_ods_sheet(zip, writer, context)
                                      : read_first_xlsx_sheet(zip, writer, context);
  if (volatile_function) *volatile_function = context.volatile_function();
  if (!read) return read.kind() == Failure::Kind::Unsupported ? refused(read.message()) : read;
  if (writer.finished_size() > kTextFileLimit) return context.damaged(ReadRefusal::TextTooLong);
  return writer.finish(target, workbook, stop_requested);
}

}  // namespace tsubakuro
