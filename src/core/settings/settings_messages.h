#pragma once

#include <QString>
#include <QStringView>

#include "core/zengin/record_kinds.h"

namespace tsubakuro {

// Every text a user is shown about company names and the settings files, for
// both programs.

// A company name that cannot name a file.
QString missing_company_name_message();
QString reserved_company_name_message(const QString& trimmed_name);
QString forbidden_company_name_character_message();

// A company's settings file.
QString missing_company_settings_message();
QString unreadable_company_settings_message(const QString& file_name);
// A file too short to hold the section a conversion needs.
QString broken_company_settings_message(const QString& file_name);

QString unreadable_settings_file_message(const QString& file_name);
// "tsubakuro.ini". A conversion stops on any of these: the banks' rules it asks
// for are not known. `reason` says what the file is ("フォルダです").
QString unwritable_program_settings_message(const QString& file_name);
QString unreadable_program_settings_message(const QString& file_name, QStringView reason);
QString program_settings_line_message(const QString& file_name, int line_number,
                                      const QString& line);
QString program_settings_value_message(const QString& file_name, const QString& group,
                                       const QString& key, const QString& value);

// A text a settings file cannot keep as one quoted value, named by `caption`.
QString quote_in_value_message(const QString& caption);
QString line_break_in_value_message(const QString& caption);
QString character_outside_cp932_message(const QString& caption, const QString& character);

// Captions of the values a settings file keeps, as the windows that edit them
// call them.
QString company_name_caption(const QString& name);
// A value of one kind's section in the company editor: "振込のﾌｧｲﾙ設定「入力ﾌｧｲﾙ」".
QString input_file_caption(TransferKind kind);
QString output_file_caption(TransferKind kind);
QString header_value_caption(TransferKind kind, const QString& field_name);
QString body_column_caption(TransferKind kind, const QString& field_name);
QString skip_header_rows_caption(TransferKind kind);
QString company_kana_table_caption();
QString system_kana_table_caption();
// "振込 ボディの項目[9]（預金者名）の名前": the built-in name says which field is
// meant even when the working name is the one at fault.
QString field_name_caption(TransferKind transfer, RecordKind record, int number);
QString field_kind_caption(TransferKind transfer, RecordKind record, int number);

}  // namespace tsubakuro
