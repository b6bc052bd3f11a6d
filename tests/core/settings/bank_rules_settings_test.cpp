#include "core/settings/bank_rules_settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

#include "core/settings/system_settings.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_file;

const QString kFile = QStringLiteral("tsubakuro.ini");

TEST(BankRulesSettings, AFolderWithoutTheFileConvertsAsBefore) {
  ScopedWorkingDir dir;
  EXPECT_EQ(load_bank_rules(), BankRules{});
  write_file(QStringLiteral("tbk.ini"), "");
  SystemSettings system;
  load_system_settings(system);
  EXPECT_FALSE(system.bank_rules.check_characters);
  EXPECT_FALSE(system.bank_rules.normalize_names);
  EXPECT_FALSE(QFile::exists(kFile)) << "reading never writes";
}

TEST(BankRulesSettings, ReadsEachRuleOnItsOwnAndAMissingKeyIsOff) {
  ScopedWorkingDir dir;
  write_file(kFile, "[bank_rules]\r\nnormalize_names=true\r\n");
  BankRules rules = load_bank_rules();
  EXPECT_FALSE(rules.check_characters);
  EXPECT_TRUE(rules.normalize_names);

  EXPECT_FALSE(rules.check_codes);

  write_file(kFile, "[bank_rules]\ncheck_characters=true\nnormalize_names=false\n");
  rules = load_bank_rules();
  EXPECT_TRUE(rules.check_characters);
  EXPECT_FALSE(rules.normalize_names);

  write_file(kFile, "[bank_rules]\ncheck_codes=true\n");
  EXPECT_EQ(load_bank_rules().check_codes, true);
  EXPECT_FALSE(load_bank_rules().check_characters);

  write_file(kFile, "\xff\xfe garbage [[[ =\n");
  EXPECT_EQ(load_bank_rules(), BankRules{});
}

TEST(BankRulesSettings, SavingKeepsWhatElseTheFileHolds) {
  ScopedWorkingDir dir;
  write_file(kFile, "[bank_rules]\nlater_rule=true\n[other]\nname=\xe3\x81\x82\n");
  BankRules rules;
  rules.normalize_names = true;
  ASSERT_TRUE(save_bank_rules(rules).ok());

  EXPECT_EQ(load_bank_rules(), rules);
  const QSettings file(kFile, QSettings::IniFormat);
  EXPECT_TRUE(file.value(QStringLiteral("bank_rules/later_rule")).toBool());
  EXPECT_EQ(file.value(QStringLiteral("other/name")).toString(), QStringLiteral("あ"));
}

TEST(BankRulesSettings, AFirstStartInAnEmptyFolderTurnsEveryRuleOn) {
  ScopedWorkingDir dir;
  prepare_program_settings_on_first_start();
  EXPECT_EQ(load_bank_rules(), BankRules::all_on());
  EXPECT_TRUE(load_bank_rules().check_characters);
  EXPECT_TRUE(load_bank_rules().normalize_names);
  EXPECT_TRUE(load_bank_rules().check_codes);
}

TEST(BankRulesSettings, AFolderInUseOrAFileAlreadyThereIsLeftAlone) {
  {
    ScopedWorkingDir dir;
    write_file(QStringLiteral("tbk.ini"), "\"x\"\r\n");
    prepare_program_settings_on_first_start();
    EXPECT_FALSE(QFile::exists(kFile)) << "an existing folder keeps converting as before";
  }
  {
    ScopedWorkingDir dir;
    write_file(kFile, "[bank_rules]\ncheck_characters=false\n");
    prepare_program_settings_on_first_start();
    EXPECT_EQ(read_file(kFile), QByteArray("[bank_rules]\ncheck_characters=false\n"));
  }
}

TEST(BankRulesSettings, AFileThatCannotBeWrittenIsReported) {
  ScopedWorkingDir dir;
  write_file(kFile, "[bank_rules]\n");
  QFile::setPermissions(kFile, QFile::ReadOwner);
  const Result<void> saved = save_bank_rules(BankRules::all_on());
  QFile::setPermissions(kFile, QFile::ReadOwner | QFile::WriteOwner);
  if (saved.ok()) GTEST_SKIP() << "running with rights that ignore file permissions";
  EXPECT_TRUE(saved.message().contains(kFile));
  EXPECT_EQ(read_file(kFile), QByteArray("[bank_rules]\n"));
}

}  // namespace
}  // namespace tsubakuro
