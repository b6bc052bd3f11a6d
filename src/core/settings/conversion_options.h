#pragma once

#include <QString>
#include <optional>

#include "core/settings/bank_rules_settings.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {

struct SystemSettings;
struct CompanySettings;

// The eight options that shape a bank file. The system keeps one set and every
// company its own copy; a run (and the result viewer) takes one of them once, when
// it starts (take_conversion_options).
struct ConversionOptions {
  QString kana_table;  // the half-width kana a "C" field may hold
  bool crlf_each_record = false;
  bool credit_20digit = false;
  bool debit_20digit = false;
  bool debit_trailer_zero = false;
  bool debit_data_zero = false;
  // As stored; the system's stays empty until its file or its dialog gives one.
  std::optional<int> record_length;
  bool skip_name_check = false;
  // Not one of the eight and not stored with them: the banks' rules are the
  // system's for every company, and take_conversion_options copies them in.
  BankRules bank_rules;

  bool operator==(const ConversionOptions&) const = default;

  // L: the stored length when it is one of kRecordLengths, else 120.
  int physical_record_length() const { return effective_record_length(record_length.value_or(0)); }
  bool twenty_digit(TransferKind kind) const {
    return kind == TransferKind::Debit ? debit_20digit : credit_20digit;
  }
};

// The system's options, or the company's own copy when the system's
// company_specific is on.
ConversionOptions take_conversion_options(const SystemSettings& system,
                                          const CompanySettings& company);

}  // namespace tsubakuro
