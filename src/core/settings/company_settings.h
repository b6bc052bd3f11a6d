#pragma once

#include <QString>
#include <array>

#include "core/settings/conversion_options.h"
#include "core/text/result.h"
#include "core/zengin/field_dictionary.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {

constexpr int kHeaderValueCount = 12;  // header fields 2 to 13
constexpr int kBodyColumnCount = 14;   // data fields 2 to 15

// The header values the program reads for their meaning (header field n is value
// n - 2): the name that shows which company a conversion is for, and the
// transfer date the date prompt asks for, stored as MMDD.
constexpr int kHeaderKindCode = 0;      // 種別コード
constexpr int kHeaderCompanyName = 3;   // 会社名
constexpr int kHeaderTransferDate = 4;  // 振込指定日, 振替指定日

struct TransferSettings {
  QString input_file;
  QString output_file;
  std::array<QString, kHeaderValueCount> header_values;
  std::array<QString, kBodyColumnCount> body_columns;
  QString skip_header_rows;
  bool enabled = false;      // 使用する: the company converts this kind
  bool skip_footer = false;  // the last input row is a footer, not a payment

  bool operator==(const TransferSettings&) const = default;
};

struct CompanySettings {
  TransferSettings credit;  // 振込
  TransferSettings debit;   // 振替
  // The company's own copy, used when the system's company_specific is on.
  ConversionOptions options;

  bool operator==(const CompanySettings&) const = default;

  TransferSettings& section(TransferKind kind) {
    return kind == TransferKind::Debit ? debit : credit;
  }
  const TransferSettings& section(TransferKind kind) const {
    return kind == TransferKind::Debit ? debit : credit;
  }
};

// What "<company>.cfg" gave.
struct LoadedCompanySettings {
  CompanySettings settings;
  // How many values the file held: a short file is accepted.
  int values_read = 0;
};

// Reads "<company>.cfg" over `previous`: the two sections start empty, and a value
// the file does not reach (a short file, the footer flags and the option copy)
// keeps the one `previous` has. Fails for a name that cannot be a file name, a
// missing file ("会社別CFGファイルが存在しません") and one that cannot be read.
Result<LoadedCompanySettings> load_company_settings(const QString& company,
                                                    CompanySettings previous = {});

// The number of values a file must hold for the section of `kind` to be whole:
// the 振込 section is the file's first 30 values, the 振替 section the next 30.
int values_through_section(TransferKind kind);

// Writes "<company>.cfg" whole (temporary file, then rename). Refuses a bad name
// and a text holding a double quote, which the file cannot store intact.
Result<void> save_company_settings(const QString& company, const CompanySettings& settings);

// Whether every text of `settings` can be stored; the failure is the one
// save_company_settings would give, naming the value by its caption in the
// company editor (header and body rows by `field_names`).
Result<void> check_company_settings(const CompanySettings& settings,
                                    const FieldTable& field_names = builtin_field_names());

}  // namespace tsubakuro
