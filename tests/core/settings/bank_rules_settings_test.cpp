#include "core/settings/bank_rules_settings.h"

#include <gtest/gtest.h>

#include <QDir>
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
  EXPECT_EQ(load_bank_rules().value(), BankRules{});
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
  BankRules rules = load_bank_rules().value();
  EXPECT_FALSE(rules.check_characters);
  EXPECT_TRUE(rules.normalize_names);

  EXPECT_FALSE(rules.check_codes);

  write_file(kFile, "[bank_rules]\ncheck_characters=true\nnormalize_names=false\n");
  rules = load_bank_rules().value();
  EXPECT_TRUE(rules.check_characters);
  EXPECT_FALSE(rules.normalize_names);

  write_file(kFile, "[bank_rules]\ncheck_codes=true\n");
  EXPECT_EQ(load_bank_rules().value().check_codes, true);
  EXPECT_FALSE(load_bank_rules().value().check_characters);
}

// Every spelling people write for a yes or a no, in any case; "off" and "no" once
// turned the rule on.
TEST(BankRulesSettings, ReadsEveryCommonSpellingOfYesAndNo) {
  ScopedWorkingDir dir;
  const struct {
    const char* value;
    bool on;
  } kValues[] = {{"true", true}, {"TRUE", true},     {"On", true},     {"yes", true},
                 {"1", true},    {"\"true\"", true}, {"false", false}, {"False", false},
                 {"off", false}, {"OFF", false},     {"no", false},    {"No", false},
                 {"0", false},   {" 0 ", false}};
  for (const auto& c : kValues) {
    write_file(kFile,
               QByteArray("[bank_rules]\ncheck_characters=true\ncheck_codes=") + c.value + "\n");
    const Result<BankRules> rules = load_bank_rules();
    ASSERT_TRUE(rules.ok()) << c.value << ": " << rules.message().toStdString();
    EXPECT_EQ(rules->check_codes, c.on) << c.value;
    EXPECT_TRUE(rules->check_characters) << c.value;
  }
}

// A file that is there but says nothing readable must stop a conversion, never
// turn every rule off: each failure names the file, and a wrong value its key.
TEST(BankRulesSettings, AFileThatCannotBeReadIsAFailureNamingIt) {
  const struct {
    const char* name;
    QByteArray content;
    const char* said;
  } kCases[] = {
      {"a value that is no yes or no", "[bank_rules]\ncheck_codes=maybe\n", "check_codes"},
      {"an empty value", "[bank_rules]\nnormalize_names=\n", "normalize_names"},
      {"not text", "\xff\xfe garbage [[[ =\n", "テキストではありません"},
      {"a NUL byte", QByteArray("[bank_rules]\ncheck_codes=true\0\n", 31),
       "テキストではありません"},
      {"a line that is no setting", "[bank_rules]\ncheck_codes true\n", "2行目"},
  };
  for (const auto& c : kCases) {
    ScopedWorkingDir dir;
    write_file(kFile, c.content);
    const Result<BankRules> rules = load_bank_rules();
    ASSERT_FALSE(rules.ok()) << c.name;
    EXPECT_TRUE(rules.message().contains(kFile)) << c.name;
    EXPECT_TRUE(rules.message().contains(QString::fromUtf8(c.said)))
        << c.name << ": " << rules.message().toStdString();
    SystemSettings system;
    load_system_settings(system);
    EXPECT_EQ(system.bank_rules_read.message(), rules.message()) << c.name;
  }
  {
    ScopedWorkingDir dir;
    ASSERT_TRUE(QDir().mkdir(kFile));
    EXPECT_TRUE(load_bank_rules().message().contains(QStringLiteral("フォルダです")));
  }
}

TEST(BankRulesSettings, AFileNotAllowedToBeReadIsAFailure) {
  {
    ScopedWorkingDir dir;
    write_file(kFile, "[bank_rules]\ncheck_codes=true\n");
    QFile::setPermissions(kFile, QFileDevice::Permissions());
    const Result<BankRules> rules = load_bank_rules();
    QFile::setPermissions(kFile, QFile::ReadOwner | QFile::WriteOwner);
    if (rules.ok()) GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_TRUE(rules.message().contains(QStringLiteral("読み取りが許可されていません")))
        << rules.message().toStdString();
  }
}

// システム設定 mends a damaged file by writing it anew.
TEST(BankRulesSettings, SavingOverADamagedFileWritesItAnew) {
  ScopedWorkingDir dir;
  write_file(kFile, "\xff\xfe garbage\n[bank_rules]\ncheck_codes=maybe\n");
  ASSERT_TRUE(save_bank_rules(BankRules::all_on()).ok());
  ASSERT_TRUE(load_bank_rules().ok()) << load_bank_rules().message().toStdString();
  EXPECT_EQ(load_bank_rules().value(), BankRules::all_on());
}

TEST(BankRulesSettings, SavingKeepsWhatElseTheFileHolds) {
  ScopedWorkingDir dir;
  write_file(kFile, "[bank_rules]\nlater_rule=true\n[other]\nname=\xe3\x81\x82\n");
  BankRules rules;
  rules.normalize_names = true;
  ASSERT_TRUE(save_bank_rules(rules).ok());

  EXPECT_EQ(load_bank_rules().value(), rules);
  const QSettings file(kFile, QSettings::IniFormat);
  EXPECT_TRUE(file.value(QStringLiteral("bank_rules/later_rule")).toBool());
  EXPECT_EQ(file.value(QStringLiteral("other/name")).toString(), QStringLiteral("あ"));
}

TEST(BankRulesSettings, AFirstStartInAnEmptyFolderTurnsEveryRuleOn) {
  ScopedWorkingDir dir;
  prepare_program_settings_on_first_start();
  EXPECT_EQ(load_bank_rules().value(), BankRules::all_on());
  EXPECT_TRUE(load_bank_rules().value().check_characters);
  EXPECT_TRUE(load_bank_rules().value().normalize_names);
  EXPECT_TRUE(load_bank_rules().value().check_codes);
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
