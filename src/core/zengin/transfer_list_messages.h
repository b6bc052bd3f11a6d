#pragma once

#include <QString>

namespace tsubakuro::transfer_list_messages {

// Why a file gives no transfer list; `file` is the path the user named.
QString cannot_open(const QString& file);
QString not_a_bank_file(const QString& file);
QString unknown_kind_code(const QString& file, const QString& code);
QString unknown_record_length(const QString& file);
QString unexpected_record(const QString& file, qint64 number, QChar kind);
QString no_end_record(const QString& file);
QString file_changed(const QString& file);

// Why the list was not written or printed.
QString pdf_not_written(const QString& pdf, const QString& reason);
QString not_printed();

// The list was made, but its totals are not the trailer's.
QString totals_disagree();

}  // namespace tsubakuro::transfer_list_messages
