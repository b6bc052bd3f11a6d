#include "gui/editors/system_settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/settings/bank_rules_settings.h"
#include "core/settings/settings_file.h"
#include "core/settings/settings_messages.h"
#include "core/zengin/bank_list.h"
#include "gui/editors/options_group.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/scrolling_content.h"

namespace tsubakuro {

namespace {

QCheckBox* make_check_box(const QString& object_name, const QString& caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(object_name);
  return box;
}

}  // namespace

SystemSettingsDialog::SystemSettingsDialog(AppState& app)
    : ChildWindow(app, WindowSlot::SystemSettings) {
  setObjectName(QStringLiteral("システム設定"));
  setWindowTitle(QStringLiteral("ｼｽﾃﾑ設定"));

  check4_ = make_check_box(QStringLiteral("Check4"), QStringLiteral("会社別で設定する"));
  options_ = new OptionsGroup({.skip_name_check = "Check11",
                               .kana_table = "Text1",
                               .crlf_each_record = "Check1(0)",
                               .credit_20digit = "Check2(0)",
                               .debit = {"Check3(0)", "Check3(1)", "Check3(2)"}},
                              app_.system.field_names);
  QLineEdit* kana = options_->kana_table_box();
  kana->setMinimumWidth(fontMetrics().horizontalAdvance(QString(60, QChar(u'ｱ'))));

  check_characters_ = make_check_box(QStringLiteral("CheckBankCharacters"),
                                     QStringLiteral("全銀協の使用可能文字を確認する"));
  normalize_names_ = make_check_box(QStringLiteral("CheckNormalizeNames"),
                                    QStringLiteral("名前を全銀協の文字に直す"));
  check_codes_ = make_check_box(QStringLiteral("CheckBankCodes"),
                                QStringLiteral("銀行・支店コードを銀行一覧で確認する"));
  if (!shipped_bank_list()) {
    check_codes_->setEnabled(false);
    check_codes_->setToolTip(QStringLiteral("銀行一覧が見つからないため確認できません"));
  }
  auto* bank = new QGroupBox(QStringLiteral("銀行提出チェック"));
  auto* bank_layout = new QVBoxLayout(bank);
  bank_layout->addWidget(check_characters_);
  bank_layout->addWidget(normalize_names_);
  bank_layout->addWidget(check_codes_);

  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("Command1(1)"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
  cancel->setObjectName(QStringLiteral("Command1(0)"));
  connect(ok, &QPushButton::clicked, this, &SystemSettingsDialog::accept_values);
  connect(cancel, &QPushButton::clicked, this, [this] { close(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* content = new QWidget;
  auto* content_layout = new QVBoxLayout(content);
  content_layout->addWidget(check4_);
  content_layout->addWidget(options_);
  content_layout->addWidget(bank);
  content_layout->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new ScrollingContent(content), 1);
  layout->addLayout(buttons);

  check4_->setChecked(app_.system.company_specific);
  options_->show_options(app_.system.options);
  check_characters_->setChecked(app_.system.bank_rules.check_characters);
  normalize_names_->setChecked(app_.system.bank_rules.normalize_names);
  check_codes_->setChecked(app_.system.bank_rules.check_codes);
}

void SystemSettingsDialog::accept_values() {
  // tbk.ini keeps every text between double quotes with nothing escaped, so a
  // quote inside the kana set would cut it short and shift every later line.
  QLineEdit* kana = options_->kana_table_box();
  if (const Result<void> checked = check_storable_text(system_kana_table_caption(), kana->text());
      !checked) {
    show_failure(app_, checked.failure());
    kana->setFocus();
    return;
  }
  app_.system.options = options_->options();
  app_.system.company_specific = check4_->isChecked();
  const BankRules rules{.check_characters = check_characters_->isChecked(),
                        .normalize_names = normalize_names_->isChecked(),
                        .check_codes = check_codes_->isChecked()};
  // A "tsubakuro.ini" that could not be read is written anew whatever was chosen:
  // that is how the user mends it, and conversions may go on once it is.
  if (rules != app_.system.bank_rules || !app_.system.bank_rules_read) {
    app_.system.bank_rules = rules;
    if (const Result<void> saved = save_bank_rules(rules); !saved)
      show_failure(app_, saved.failure());
    else
      app_.system.bank_rules_read = {};
  }
  close();
}

}  // namespace tsubakuro
