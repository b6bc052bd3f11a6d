#pragma once

#include <QString>
#include <array>
#include <optional>

#include "core/settings/bank_rules_settings.h"
#include "core/settings/notifier.h"
#include "core/zengin/field_dictionary.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

constexpr int kWindowSlotCount = 12;
inline constexpr char16_t kDefaultKanaTable[] =
    u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝﾞﾟｧｨｩｪｫｬｭｮｯ";
inline constexpr char kSystemSettingsFile[] = "tbk.ini";

struct SystemSettings {
  QString kana_table = QString::fromUtf16(kDefaultKanaTable);
  int crlf_each_record = 0;
  int credit_20digit = 0;
  int debit_20digit = 0;
  int debit_trailer_zero = 0;
  QString current_company;
  TransferKind transfer_kind = TransferKind::Credit;
  std::optional<int> record_length;  // never set until the file or the dialog gives one
  int debit_data_zero = 0;
  int company_specific = 0;
  int skip_name_check = 0;
  FieldTable field_names;
  FieldTable field_kinds;
  // Kept in "tsubakuro.ini", not in "tbk.ini", whose layout stays as it was.
  BankRules bank_rules;
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
// rest unchanged; garbage never crashes.
void load_system_settings(SystemSettings& settings);

// Writes "tbk.ini" whole (temporary file, then rename): on failure the old file
// stays and the result says why. The banks' rules are saved by save_bank_rules.
SaveResult save_system_settings(const SystemSettings& settings);

// Empty when every text of `settings` can be stored in "tbk.ini"; otherwise the
// message save_system_settings would give, naming the value. The dialogs that
// edit the kana set and the field names ask before they accept a change.
QString system_settings_problem(const SystemSettings& settings);

}  // namespace tsubakuro
