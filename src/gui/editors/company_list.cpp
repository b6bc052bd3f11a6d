#include "gui/editors/company_list.h"

#include "core/settings/company_name.h"

namespace tsubakuro {

CompanyList list_companies(const QString& current_company) {
  CompanyList list;
  list.names = company_names();
  list.current_index = static_cast<int>(list.names.indexOf(current_company));
  return list;
}

}  // namespace tsubakuro
