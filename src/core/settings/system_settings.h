#pragma once

#include <QString>
#include <array>
#include <optional>

#include "core/settings/bank_rules_settings.h"
#include "core/settings/conversion_options.h"
#include "core/text/result.h"
#include "core/zengin/field_dictionary.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {

constexpr int kWindowSlotCount = 12;
inline constexpr char16_t kDefaultKanaTable[] =
    u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝﾞﾟｧｨｩｪｫｬｭｮｯ";
inline constexpr char kSystemSettingsFile[] = "tbk.ini";

// The system's options before its file or its dialog gives any.
inline ConversionOptions default_system_options() {
  ConversionOptions options;
  options.kana_table = QString::fromUtf16(kDefaultKanaTable);
  return options;
}

struct SystemSettings {
  ConversionOptions options = default_system_options();
  QString current_company;
  TransferKind transfer_kind = TransferKind::Credit;
  // Runs take each company's own copy of the options instead of `options`.
  bool company_specific = false;
  FieldTable field_names;
  FieldTable field_kinds;
  // Kept in "tsubakuro.ini", not in "tbk.ini", whose layout stays as it was.
  BankRules bank_rules;
  // Whether "tsubakuro.ini" could be read; while it fails, bank_rules are all off
  // and no conversion may start (ConversionProcedure refuses with this message).
  Result<void> bank_rules_read;
  // Geometry of every window slot, in twips.
  std::array<int, kWindowSlotCount> window_top{};
  std::array<int, kWindowSlotCount> window_left{};
  std::array<int, kWindowSlotCount> window_height{};
  std::array<int, kWindowSlotCount> window_width{};
};

// Copies the built-in field dictionary into the working names and kinds; runs at
// start-up before load_system_settings so the file can override them.
void init_field_dictionary(SystemSettings& settings);

// Reads "tbk.ini" from the working folder, and the banks' rules from
// "tsubakuro.ini". A missing file leaves the defaults; a short file leaves the
// rest unchanged; garbage never crashes. A "tsubakuro.ini" that cannot be read
// is told in bank_rules_read.
void load_system_settings(SystemSettings& settings);

// Writes "tbk.ini" whole (temporary file, then rename): on failure the old file
// stays and the result says why. The banks' rules are saved by save_bank_rules.
Result<void> save_system_settings(const SystemSettings& settings);

// Whether every text of `settings` can be stored in "tbk.ini"; the failure is the
// one save_system_settings would give, naming the value. The dialogs that edit
// the kana set and the field names ask before they accept a change.
Result<void> check_system_settings(const SystemSettings& settings);

}  // namespace tsubakuro
