#include "gui/editors/company_list.h"

#include <QDir>

namespace tsubakuro {

CompanyList list_companies(const QString& current_company) {
  static const QString kEnding = QStringLiteral(".cfg");
  CompanyList list;
  // The name filter matches ".CFG" as well on some platforms; only the lower-case
  // ending names a company.
  const QStringList files = QDir::current().entryList(
      {QStringLiteral("*.cfg")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  for (const QString& file : files) {
    if (!file.endsWith(kEnding, Qt::CaseSensitive) || file.size() == kEnding.size()) continue;
    const QString name = file.chopped(kEnding.size());
    if (name == current_company) list.current_index = list.names.size();
    list.names.append(name);
  }
  return list;
}

}  // namespace tsubakuro
