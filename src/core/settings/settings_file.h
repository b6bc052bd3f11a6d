#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "core/settings/notifier.h"

namespace tsubakuro {

// The whole text of a settings file, decoded from CP932, or nothing when it
// cannot be read. A settings file is a few kilobytes; only the first megabyte of a
// stray huge file is looked at, so a wrong file can never exhaust memory.
std::optional<QString> read_settings_text(const QString& file_name);

// Writes `text` in CP932 to a temporary file beside `file_name` and renames it
// over, so the previous file survives any failure. The text must be storable
// (see unstorable_text_problem).
SaveResult write_settings_file(const QString& file_name, const QString& text);

// A number value of a settings file, rounded and held within int; text that is
// no number reads as 0.
int settings_integer(QStringView item);
// A flag value: check boxes give 0 or 1, and every reader of a flag asks whether
// it is 1, so anything else reads as 0.
int settings_flag(QStringView item);

// Empty when `text` can be stored as one quoted value of a settings file;
// otherwise a Japanese message naming `caption`. Nothing in the file is escaped,
// so a double quote or a line break would end the value early, and a character
// CP932 lacks would be lost.
QString unstorable_text_problem(const QString& caption, QStringView text);

}  // namespace tsubakuro
