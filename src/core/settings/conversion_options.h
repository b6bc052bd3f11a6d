#pragma once

#include <QString>

#include "core/settings/bank_rules_settings.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

struct SystemSettings;
struct CompanySettings;

// The eight options a run (and the result viewer) takes once when it starts: the
// system's, or the company's own copy when company_specific is on.
struct ConversionOptions {
  QString kana_table;
  int crlf_each_record = 0;
  int credit_20digit = 0;
  int debit_20digit = 0;
  int debit_trailer_zero = 0;
  int debit_data_zero = 0;
  int record_length = 0;  // as stored; see physical_record_length
  int skip_name_check = 0;
  // The same for every company: banks' rules are not a company's choice.
  BankRules bank_rules;

  // L: the stored length when it is one of 120, 122, 128, 130, 256, 258, else 120.
  int physical_record_length() const { return effective_record_length(record_length); }
  bool twenty_digit(TransferKind kind) const {
    return (kind == TransferKind::Debit ? debit_20digit : credit_20digit) == 1;
  }
};

ConversionOptions take_conversion_options(const SystemSettings& system,
                                          const CompanySettings& company);

}  // namespace tsubakuro
