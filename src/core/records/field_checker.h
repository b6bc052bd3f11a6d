#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/zengin/field_dictionary.h"

namespace tsubakuro {

// The "C" rule: 0 when every character is the half-width blank or occurs in
// `allowed` (exact code points), 1 otherwise. Empty text passes.
int check_characters(QStringView text, QStringView allowed);

// The "N" rule: 0 when every character is "0" to "9", 1 otherwise. Empty text passes.
int check_digits(QStringView text);

// What a field's working kind says of a text: a kind letter other than "C" or
// "N" (a kind the user blanked) checks nothing.
enum class FieldCheck { Passes, Fails, Unchecked };

// Applies the working kind of a field. Built once per run from the settings, so a
// check never looks the settings up again.
class FieldChecker {
 public:
  FieldChecker(const FieldTable& field_kinds, TransferKind transfer, QString allowed_kana);

  // part: 1 header, 2 data, 3 trailer; field: from 1.
  FieldCheck check_field(QStringView text, int part, int field) const;

 private:
  static constexpr int kParts = 3;
  static constexpr int kMaxFields = 32;

  // The kind letter of each part's fields ('C', 'N' or 0), and the allowed set
  // as one bit per UTF-16 unit: a run checks every field of every row.
  std::array<std::array<char, kMaxFields>, kParts> kinds_{};
  std::vector<bool> allowed_;
};

// The allowed set a check uses: the company's when company_specific is on.
QString allowed_kana(const SystemSettings& system, const CompanySettings& company);

// check_field as the shared state composes it: the current transfer kind, the
// working kinds and the allowed set.
FieldCheck check_field(const SystemSettings& system, const CompanySettings& company,
                       QStringView text, int part, int field);

}  // namespace tsubakuro
