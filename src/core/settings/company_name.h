#pragma once

#include <QString>
#include <QStringList>

#include "core/text/result.h"

namespace tsubakuro {

// A company name names its files in the working folder ("<name>.cfg",
// "<name>.log"). Trailing blanks are dropped for the settings file; a name that is
// empty after that, ".", "..", or holds "/", "\" or a control character is no
// plain file name, and nothing may be read or written through it.

// Whether the name can name a file.
Result<void> check_company_name(const QString& name);

// Whether the system settings file can keep the name as the current company (no
// double quote, no line break, no character Shift-JIS lacks).
Result<void> check_stored_company_name(const QString& name);

// Whether a name the user enters can be taken: it names a file and the system
// settings file can keep it. The failure is the one saving would give later,
// when the session could no longer be kept.
Result<void> check_entered_company_name(const QString& name);

// The companies of the working folder, in name order: every file whose name ends
// in exactly ".cfg" names one, without that ending.
QStringList company_names();

// "<name without trailing blanks>.cfg".
Result<QString> company_settings_file(const QString& name);

// "<name exactly as held>.log".
Result<QString> company_log_file(const QString& name);

// "<name without trailing blanks>.lock": there while a conversion of the company
// is under way.
Result<QString> company_lock_file(const QString& name);

}  // namespace tsubakuro
