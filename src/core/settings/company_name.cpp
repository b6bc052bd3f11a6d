#include "core/settings/company_name.h"

#include <algorithm>

#include "core/settings/settings_file.h"
#include "core/zengin/padding.h"

namespace tsubakuro {

namespace {

// A double quote cannot stand in a settings file value, and the current company
// is one of them; the others would lead the name out of the working folder.
bool is_forbidden(QChar c) {
  return c == u'/' || c == u'\\' || c == u'"' || c.category() == QChar::Other_Control;
}

}  // namespace

QString company_name_problem(const QString& name) {
  const QString trimmed = trim_trailing_spaces(name).toString();
  if (trimmed.isEmpty()) return QStringLiteral("会社名が入力されていません。");
  if (trimmed == u"." || trimmed == u"..")
    return QStringLiteral("「%1」は会社名に使えません。").arg(trimmed);
  if (std::any_of(name.cbegin(), name.cend(), is_forbidden))
    return QStringLiteral(
        "会社名に使えない文字（/ \\ \" または制御文字）が含まれています。別の名前にしてください。");
  return QString();
}

QString stored_company_name_problem(const QString& name) {
  return unstorable_text_problem(QStringLiteral("会社名「%1」").arg(name), name);
}

QString entered_company_name_problem(const QString& name) {
  const QString problem = company_name_problem(name);
  return problem.isEmpty() ? stored_company_name_problem(name) : problem;
}

std::optional<QString> company_settings_file(const QString& name) {
  if (!company_name_problem(name).isEmpty()) return std::nullopt;
  return trim_trailing_spaces(name).toString() + QStringLiteral(".cfg");
}

std::optional<QString> company_lock_file(const QString& name) {
  if (!company_name_problem(name).isEmpty()) return std::nullopt;
  return trim_trailing_spaces(name).toString() + QStringLiteral(".lock");
}

std::optional<QString> company_log_file(const QString& name) {
  if (!company_name_problem(name).isEmpty()) return std::nullopt;
  return name + QStringLiteral(".log");
}

}  // namespace tsubakuro
