#include "core/settings/bank_rules_settings.h"

#include <QFileInfo>
#include <QSettings>

#include "core/settings/settings_messages.h"
#include "core/settings/system_settings.h"

namespace tsubakuro {
namespace {

// One row per rule: its key in the file and its place in BankRules.
struct RuleKey {
  const char* key;
  bool BankRules::*flag;
};

constexpr RuleKey kRuleKeys[] = {
    {"bank_rules/check_characters", &BankRules::check_characters},
    {"bank_rules/normalize_names", &BankRules::normalize_names},
    {"bank_rules/check_codes", &BankRules::check_codes},
};

QString settings_path() { return QString::fromLatin1(kProgramSettingsFile); }

}  // namespace

BankRules BankRules::all_on() {
  BankRules rules;
  for (const RuleKey& rule : kRuleKeys) rules.*rule.flag = true;
  return rules;
}

BankRules load_bank_rules() {
  BankRules rules;
  if (!QFileInfo(settings_path()).isFile()) return rules;
  const QSettings file(settings_path(), QSettings::IniFormat);
  for (const RuleKey& rule : kRuleKeys)
    rules.*rule.flag = file.value(QLatin1String(rule.key), false).toBool();
  return rules;
}

Result<void> save_bank_rules(const BankRules& rules) {
  QSettings file(settings_path(), QSettings::IniFormat);
  for (const RuleKey& rule : kRuleKeys) file.setValue(QLatin1String(rule.key), rules.*rule.flag);
  file.sync();
  if (file.status() == QSettings::NoError) return {};
  return failure(unwritable_program_settings_message(settings_path()));
}

void prepare_program_settings_on_first_start() {
  if (QFileInfo::exists(QString::fromLatin1(kSystemSettingsFile)) ||
      QFileInfo::exists(settings_path()))
    return;
  // Nothing to tell the user if it fails: the rules then stay off, as before.
  (void)save_bank_rules(BankRules::all_on());
}

}  // namespace tsubakuro
