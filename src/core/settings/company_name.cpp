#include "core/settings/company_name.h"

#include <QDir>
#include <algorithm>

#include "core/settings/settings_file.h"
#include "core/settings/settings_messages.h"
#include "core/zengin/padding.h"

namespace tsubakuro {

namespace {

// A double quote cannot stand in a settings file value, and the current company
// is one of them; the others would lead the name out of the working folder.
bool is_forbidden(QChar c) {
  return c == u'/' || c == u'\\' || c == u'"' || c.category() == QChar::Other_Control;
}

// The file `name` names with `ending`, the name's trailing blanks dropped or kept.
Result<QString> company_file(const QString& name, const QString& ending, bool keep_blanks) {
  if (Result<void> checked = check_company_name(name); !checked) return checked.failure();
  return (keep_blanks ? name : trim_trailing_spaces(name).toString()) + ending;
}

}  // namespace

Result<void> check_company_name(const QString& name) {
  const QString trimmed = trim_trailing_spaces(name).toString();
  if (trimmed.isEmpty()) return failure(missing_company_name_message());
  if (trimmed == u"." || trimmed == u"..") return failure(reserved_company_name_message(trimmed));
  if (std::any_of(name.cbegin(), name.cend(), is_forbidden))
    return failure(forbidden_company_name_character_message());
  return {};
}

Result<void> check_stored_company_name(const QString& name) {
  return check_storable_text(company_name_caption(name), name);
}

Result<void> check_entered_company_name(const QString& name) {
  if (Result<void> checked = check_company_name(name); !checked) return checked;
  return check_stored_company_name(name);
}

QStringList company_names() {
  static const QString kEnding = QStringLiteral(".cfg");
  // The name filter matches ".CFG" as well on some platforms; only the lower-case
  // ending names a company.
  const QStringList files = QDir::current().entryList(
      {QStringLiteral("*.cfg")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  QStringList names;
  for (const QString& file : files) {
    if (!file.endsWith(kEnding, Qt::CaseSensitive) || file.size() == kEnding.size()) continue;
    names.append(file.chopped(kEnding.size()));
  }
  return names;
}

Result<QString> company_settings_file(const QString& name) {
  return company_file(name, QStringLiteral(".cfg"), false);
}

Result<QString> company_lock_file(const QString& name) {
  return company_file(name, QStringLiteral(".lock"), false);
}

Result<QString> company_log_file(const QString& name) {
  return company_file(name, QStringLiteral(".log"), true);
}

}  // namespace tsubakuro
