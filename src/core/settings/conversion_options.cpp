#include "core/settings/conversion_options.h"

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"

namespace tsubakuro {

ConversionOptions take_conversion_options(const SystemSettings& system,
                                          const CompanySettings& company) {
  ConversionOptions options;
  if (system.company_specific == 1) {
    options.kana_table = company.kana_table;
    options.crlf_each_record = company.crlf_each_record;
    options.credit_20digit = company.credit_20digit;
    options.debit_20digit = company.debit_20digit;
    options.debit_trailer_zero = company.debit_trailer_zero;
    options.debit_data_zero = company.debit_data_zero;
    options.record_length = company.record_length;
    options.skip_name_check = company.skip_name_check;
  } else {
    options.kana_table = system.kana_table;
    options.crlf_each_record = system.crlf_each_record;
    options.credit_20digit = system.credit_20digit;
    options.debit_20digit = system.debit_20digit;
    options.debit_trailer_zero = system.debit_trailer_zero;
    options.debit_data_zero = system.debit_data_zero;
    options.record_length = system.record_length.value_or(0);
    options.skip_name_check = system.skip_name_check;
  }
  options.bank_rules = system.bank_rules;
  return options;
}

}  // namespace tsubakuro
