#pragma once

#include <QString>
#include <optional>

namespace tsubakuro {

// A company name names its files in the working folder ("<name>.cfg",
// "<name>.log"). Trailing blanks are dropped for the settings file; a name that is
// empty after that, ".", "..", or holds "/", "\" or a control character is no
// plain file name, and nothing may be read or written through it.

// Empty when the name can name a file; otherwise the Japanese message to show.
QString company_name_problem(const QString& name);

// The message for a name the system settings file cannot keep as the current
// company (a double quote, a line break, a character Shift-JIS lacks), or empty.
QString stored_company_name_problem(const QString& name);

// Empty when a name the user enters can be taken: it names a file and the
// system settings file can keep it; otherwise the message that saving would
// give later, when the session could no longer be kept.
QString entered_company_name_problem(const QString& name);

// "<name without trailing blanks>.cfg", or nothing for a bad name.
std::optional<QString> company_settings_file(const QString& name);

// "<name exactly as held>.log", or nothing for a bad name.
std::optional<QString> company_log_file(const QString& name);

// "<name without trailing blanks>.lock": there while a conversion of the company
// is under way. Nothing for a bad name.
std::optional<QString> company_lock_file(const QString& name);

}  // namespace tsubakuro
