#pragma once

#include <QString>
#include <QStringList>

namespace tsubakuro {

// The companies are the settings files of the working folder (company_names()).
// Nothing else keeps the list, so it is read again whenever a window needs it.
struct CompanyList {
  QStringList names;
  int current_index = -1;  // where `current_company` stands in `names`, or -1
};

CompanyList list_companies(const QString& current_company);

}  // namespace tsubakuro
