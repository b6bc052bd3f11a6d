#include "gui/editors/system_settings_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <optional>

#include "core/settings/bank_rules_settings.h"
#include "options_test_support.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::answer_next_notice;

struct OpenDialog {
  explicit OpenDialog(AppState& app) : window(new SystemSettingsDialog(app)) { window->show(); }
  ~OpenDialog() { delete window; }

  template <typename T>
  T* control(const char* name) const {
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void click(const char* button) const {
    testing::click_button_as_user(control<QPushButton>(button));
  }
  int selected_length() const {
    const int lengths[] = {120, 122, 128, 130, 256, 258};
    for (int i = 0; i < 6; ++i) {
      const QString name = QStringLiteral("Option1(%1)").arg(i);
      if (window->findChild<QRadioButton*>(name)->isChecked()) return lengths[i];
    }
    return 0;
  }

  QPointer<SystemSettingsDialog> window;
};

AppState fresh_app() {
  AppState app;
  init_field_dictionary(app.system);
  return app;
}

TEST(SystemSettingsDialog, SelectsTheStoredRecordLengthAndTreatsAnyOtherValueAs120) {
  const struct {
    std::optional<int> stored;
    int shown;
  } cases[] = {{std::nullopt, 120}, {125, 120}, {0, 120}, {122, 122}, {258, 258}, {130, 130}};
  for (const auto& c : cases) {
    AppState app = fresh_app();
    app.system.options.record_length = c.stored;
    OpenDialog dialog(app);
    EXPECT_EQ(dialog.selected_length(), c.shown) << c.stored.value_or(-1);
  }
}

TEST(SystemSettingsDialog, ShowsTheSettingsAndStoresEveryControlOnOk) {
  AppState app = fresh_app();
  app.system.options.crlf_each_record = true;
  app.system.options.debit_trailer_zero = true;
  app.system.options.record_length = 128;
  OpenDialog dialog(app);
  EXPECT_EQ(dialog.window->windowTitle(), QStringLiteral("ｼｽﾃﾑ設定"));
  EXPECT_EQ(app.open_windows.count(WindowSlot::SystemSettings), 1);
  EXPECT_TRUE(dialog.control<QCheckBox>("Check1(0)")->isChecked());
  EXPECT_TRUE(dialog.control<QCheckBox>("Check3(1)")->isChecked());
  EXPECT_FALSE(dialog.control<QCheckBox>("Check3(2)")->isChecked());
  EXPECT_EQ(dialog.control<QLineEdit>("Text1")->text(), app.system.options.kana_table);
  EXPECT_EQ(dialog.control<QLineEdit>("Text1")->maxLength(), 150);

  // Toggling 会社別で設定する changes nothing else in the dialog.
  testing::click_button_as_user(dialog.control<QCheckBox>("Check4"));
  EXPECT_TRUE(dialog.control<QCheckBox>("Check11")->isEnabled());
  EXPECT_TRUE(dialog.control<QLineEdit>("Text1")->isEnabled());
  for (const char* box :
       {"Check11", "Check1(0)", "Check2(0)", "Check3(0)", "Check3(1)", "Check3(2)"})
    testing::click_button_as_user(dialog.control<QCheckBox>(box));
  auto* kana = dialog.control<QLineEdit>("Text1");
  kana->clear();
  testing::type_text(kana, QStringLiteral("ｱｲｳ"));
  testing::click_button_as_user(dialog.control<QRadioButton>("Option1(5)"));
  EXPECT_EQ(app.system.options.record_length, 128) << "nothing is stored before OK";
  EXPECT_FALSE(app.system.company_specific);

  dialog.click("Command1(1)");
  const SystemSettings& s = app.system;
  EXPECT_TRUE(s.company_specific);
  EXPECT_TRUE(s.options.skip_name_check);
  EXPECT_FALSE(s.options.crlf_each_record);
  EXPECT_TRUE(s.options.credit_20digit);
  EXPECT_TRUE(s.options.debit_20digit);
  EXPECT_FALSE(s.options.debit_trailer_zero);
  EXPECT_TRUE(s.options.debit_data_zero);
  EXPECT_EQ(s.options.kana_table, QStringLiteral("ｱｲｳ"));
  EXPECT_EQ(s.options.record_length, 258);
  EXPECT_FALSE(dialog.window && dialog.window->isVisible());
  EXPECT_EQ(app.open_windows.count(WindowSlot::SystemSettings), 0);
}

TEST(SystemSettingsDialog, CancelAndTheCloseBoxStoreNothing) {
  for (bool by_button : {true, false}) {
    AppState app = fresh_app();
    const SystemSettings before = app.system;
    OpenDialog dialog(app);
    testing::click_button_as_user(dialog.control<QCheckBox>("Check4"));
    testing::click_button_as_user(dialog.control<QRadioButton>("Option1(3)"));
    if (by_button)
      dialog.click("Command1(0)");
    else
      dialog.window->close();
    EXPECT_FALSE(app.system.company_specific);
    EXPECT_EQ(app.system.options.record_length, before.options.record_length);
    EXPECT_EQ(app.open_windows.count(WindowSlot::SystemSettings), 0);
  }
}

TEST(SystemSettingsDialog, BuildsTheFieldCaptionsFromTheWorkingNames) {
  AppState app = fresh_app();
  app.system.field_names.of(TransferKind::Debit, RecordKind::Trailer)[4] = QStringLiteral("入金額");
  app.system.field_names.of(TransferKind::Credit, RecordKind::Data)[11] =
      QStringLiteral("社員番号");
  app.system.field_names.of(TransferKind::Debit, RecordKind::Data)[13] = QStringLiteral("結果");
  OpenDialog dialog(app);
  EXPECT_EQ(dialog.control<QCheckBox>("Check2(0)")->text(),
            QStringLiteral("社員番号＋その他分類を２０桁の１つとして扱う"));
  EXPECT_EQ(dialog.control<QCheckBox>("Check3(0)")->text(),
            QStringLiteral("引落取引先番号＋その他分類を２０桁の１つとして扱う"));
  EXPECT_EQ(dialog.control<QCheckBox>("Check3(1)")->text(),
            QStringLiteral("振替結果ｺｰﾄﾞ(振替返済済件数、入金額、振替不能件数、振替不能金額)"
                           "に固定でゼロを入れる"));
  EXPECT_EQ(dialog.control<QCheckBox>("Check3(2)")->text(),
            QStringLiteral("結果に固定でゼロを入れる"));
}

// The settings file keeps texts between double quotes with nothing escaped.
TEST(SystemSettingsDialog, RefusesAKanaSetHoldingADoubleQuoteAndStaysOpen) {
  AppState app = fresh_app();
  const QString kana_before = app.system.options.kana_table;
  OpenDialog dialog(app);
  auto* kana = dialog.control<QLineEdit>("Text1");
  kana->clear();
  testing::type_text(kana, QStringLiteral("ｱ\"ｲ"));
  testing::click_button_as_user(dialog.control<QCheckBox>("Check4"));
  QString message;
  answer_next_notice(&message);
  dialog.click("Command1(1)");
  EXPECT_TRUE(message.contains(QStringLiteral("半角ｶﾀｶﾅ変換対象文字列"))) << message.toStdString();
  ASSERT_TRUE(dialog.window);
  EXPECT_TRUE(dialog.window->isVisible());
  EXPECT_EQ(app.system.options.kana_table, kana_before);
  EXPECT_FALSE(app.system.company_specific);
  EXPECT_EQ(app.open_windows.count(WindowSlot::SystemSettings), 1);

  kana->clear();
  testing::type_text(kana, QStringLiteral("ｱｲ"));
  dialog.click("Command1(1)");
  EXPECT_EQ(app.system.options.kana_table, QStringLiteral("ｱｲ"));
  EXPECT_TRUE(app.system.company_specific);
}

TEST(SystemSettingsDialog, BankRulesAreShownAndWrittenToTheirOwnFileOnOk) {
  testing::ScopedWorkingDir dir;
  AppState app = fresh_app();
  app.system.bank_rules.normalize_names = true;
  {
    OpenDialog dialog(app);
    QCheckBox* check = dialog.control<QCheckBox>("CheckBankCharacters");
    QCheckBox* normalize = dialog.control<QCheckBox>("CheckNormalizeNames");
    ASSERT_TRUE(check && normalize);
    EXPECT_EQ(check->text(), QStringLiteral("全銀協の使用可能文字を確認する"));
    EXPECT_EQ(normalize->text(), QStringLiteral("名前を全銀協の文字に直す"));
    EXPECT_FALSE(check->isChecked());
    EXPECT_TRUE(normalize->isChecked());
    auto* group = qobject_cast<QGroupBox*>(check->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("銀行提出チェック"));

    testing::click_button_as_user(check);
    dialog.click("Command1(0)");  // ｷｬﾝｾﾙ
  }
  EXPECT_FALSE(app.system.bank_rules.check_characters);
  EXPECT_FALSE(QFile::exists(QStringLiteral("tsubakuro.ini")));

  {
    OpenDialog dialog(app);
    testing::click_button_as_user(dialog.control<QCheckBox>("CheckBankCharacters"));
    dialog.click("Command1(1)");  // OK
  }
  EXPECT_TRUE(app.system.bank_rules.check_characters);
  EXPECT_TRUE(app.system.bank_rules.normalize_names);
  EXPECT_EQ(load_bank_rules().value(), app.system.bank_rules) << "written at once, not at the end";
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.ini")));
}

TEST(SystemSettingsDialog, TheCodeCheckLivesInTheProgramSettingsAndIsSavedWithOk) {
  testing::ScopedWorkingDir dir;
  AppState app = fresh_app();
  {
    OpenDialog dialog(app);
    auto* box = dialog.control<QCheckBox>("CheckBankCodes");
    EXPECT_EQ(box->text(), QStringLiteral("銀行・支店コードを銀行一覧で確認する"));
    EXPECT_FALSE(box->isChecked());  // no "tsubakuro.ini": off
    auto* group = qobject_cast<QGroupBox*>(box->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("銀行提出チェック"));
    box->setChecked(true);
    dialog.click("Command1(0)");  // ｷｬﾝｾﾙ writes nothing
  }
  EXPECT_FALSE(QFile::exists(QStringLiteral("tsubakuro.ini")));
  {
    OpenDialog dialog(app);
    dialog.control<QCheckBox>("CheckBankCodes")->setChecked(true);
    dialog.click("Command1(1)");
  }
  EXPECT_TRUE(app.system.bank_rules.check_codes);
  EXPECT_TRUE(load_bank_rules().value().check_codes);
  EXPECT_TRUE(QSettings(QStringLiteral("tsubakuro.ini"), QSettings::IniFormat)
                  .value(QStringLiteral("bank_rules/check_codes"))
                  .toBool());
  OpenDialog again(app);
  EXPECT_TRUE(again.control<QCheckBox>("CheckBankCodes")->isChecked());
}

// システム設定 is where a damaged "tsubakuro.ini" is mended: OK writes it anew,
// changed or not, and conversions may go on.
TEST(SystemSettingsDialog, OkWritesADamagedProgramSettingsFileAnew) {
  testing::ScopedWorkingDir dir;
  testing::write_file(QStringLiteral("tsubakuro.ini"), "\xff\xfe[bank_rules]\ncheck_codes=1\n");
  AppState app = fresh_app();
  load_system_settings(app.system);
  ASSERT_FALSE(app.system.bank_rules_read.ok());
  {
    OpenDialog dialog(app);
    EXPECT_FALSE(dialog.control<QCheckBox>("CheckBankCodes")->isChecked());
    dialog.click("Command1(1)");  // OK, nothing changed
  }
  EXPECT_TRUE(app.system.bank_rules_read.ok());
  const Result<BankRules> read = load_bank_rules();
  ASSERT_TRUE(read.ok()) << read.message().toStdString();
  EXPECT_EQ(read.value(), BankRules{});
}

}  // namespace
}  // namespace tsubakuro
