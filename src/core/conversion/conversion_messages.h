#pragma once

#include <QString>

// Every text a conversion shows its user, whichever program runs it: the
// desktop program's dialogs and the command-line converter's lines say the same.
namespace tsubakuro::conversion_messages {

// The files of a run.
QString input_missing();
QString input_is_special(const QString& path, const QString& kind);
QString input_unopenable(const QString& path);
QString input_unreadable(const QString& path);
QString workbook_text_missing(const QString& text_file);
QString output_not_set();
QString output_is_special(const QString& path, const QString& kind);
// The output would land on `name`, a file the user keeps (`what` says which).
QString output_is_kept_file(const QString& output, const QString& what, const QString& name);
// What output_is_kept_file's `what` says of a payment list a company's settings name:
// "会社「X」の振替の入力ファイル".
QString company_input_file(const QString& company, const QString& kind);
QString output_uncreatable(const QString& path);
QString output_unwritable(const QString& path);
QString log_is_special(const QString& path, const QString& kind);
// Said after the bank list's own failure when the bank check is on.
QString bank_list_needed();
// The company's lock file is something no conversion made: a folder, or a file
// that cannot be written.
QString lock_file_unusable(const QString& path, const QString& what);
QString conversion_elsewhere(const QString& company);

// How a run ended.
QString finished();
QString finished_with_errors();
QString cancelled();
// Said after cancelled() where there is room for it.
QString output_unchanged();

}  // namespace tsubakuro::conversion_messages
