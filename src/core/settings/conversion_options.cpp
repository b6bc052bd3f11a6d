#include "core/settings/conversion_options.h"

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"

namespace tsubakuro {

ConversionOptions take_conversion_options(const SystemSettings& system,
                                          const CompanySettings& company) {
  ConversionOptions options = system.company_specific ? company.options : system.options;
  options.bank_rules = system.bank_rules;
  return options;
}

}  // namespace tsubakuro
