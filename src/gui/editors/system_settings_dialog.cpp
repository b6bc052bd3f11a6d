#include "gui/editors/system_settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/settings/bank_rules_settings.h"
#include "core/settings/settings_file.h"
#include "core/zengin/bank_list.h"
#include "gui/editors/option_captions.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/scrolling_content.h"

namespace tsubakuro {

namespace {

constexpr std::array<int, 6> kRecordLengths = {120, 122, 128, 130, 256, 258};
constexpr int kKanaTableMaxLength = 150;

QString indexed_name(const char* array, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

QCheckBox* make_check_box(const QString& object_name, const QString& caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(object_name);
  return box;
}

int checked(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

}  // namespace

SystemSettingsDialog::SystemSettingsDialog(AppState& app)
    : ChildWindow(app, WindowSlot::SystemSettings) {
  setObjectName(QStringLiteral("システム設定"));
  setWindowTitle(QStringLiteral("ｼｽﾃﾑ設定"));
  build_controls();
  load_values();
}

void SystemSettingsDialog::build_controls() {
  const FieldTable& names = app_.system.field_names;

  check4_ = make_check_box(QStringLiteral("Check4"), QStringLiteral("会社別で設定する"));
  check11_ = make_check_box(QStringLiteral("Check11"), QStringLiteral("名称文字チェック省く"));
  text1_ = new QLineEdit;
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setMaxLength(kKanaTableMaxLength);
  text1_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(60, QChar(u'ｱ'))));
  auto* kana_label = new QLabel(QStringLiteral("半角ｶﾀｶﾅ変換対象文字列"));
  kana_label->setBuddy(text1_);
  check1_ = make_check_box(indexed_name("Check1", 0), QStringLiteral("毎行に改行文字を入れる"));

  auto* length_frame = new QGroupBox(QStringLiteral("変換後桁数"));
  auto* length_buttons = new QHBoxLayout;
  auto* length_group = new QButtonGroup(this);
  for (int i = 0; i < static_cast<int>(kRecordLengths.size()); ++i) {
    option1_[i] = new QRadioButton(QString::number(kRecordLengths[i]));
    option1_[i]->setObjectName(indexed_name("Option1", i));
    length_group->addButton(option1_[i], i);
    length_buttons->addWidget(option1_[i]);
  }
  length_buttons->addStretch();
  auto* length_layout = new QVBoxLayout(length_frame);
  length_layout->addLayout(length_buttons);
  length_layout->addWidget(new QLabel(QStringLiteral("改行文字入れる場合は２桁込み")));

  auto* common = new QGroupBox(QStringLiteral("共通"));
  auto* common_layout = new QVBoxLayout(common);
  common_layout->addWidget(check11_);
  auto* kana_row = new QHBoxLayout;
  kana_row->addWidget(kana_label);
  kana_row->addWidget(text1_, 1);
  common_layout->addLayout(kana_row);
  common_layout->addWidget(check1_);
  common_layout->addWidget(length_frame);

  check2_ =
      make_check_box(indexed_name("Check2", 0), twenty_digit_caption(names, TransferKind::Credit));
  auto* credit_data = new QGroupBox(QStringLiteral("ﾃﾞｰﾀﾚｺｰﾄﾞ"));
  (new QVBoxLayout(credit_data))->addWidget(check2_);
  auto* credit = new QGroupBox(QStringLiteral("振込"));
  (new QVBoxLayout(credit))->addWidget(credit_data);

  check3_[0] =
      make_check_box(indexed_name("Check3", 0), twenty_digit_caption(names, TransferKind::Debit));
  check3_[1] = make_check_box(indexed_name("Check3", 1), debit_trailer_zero_caption(names));
  check3_[2] = make_check_box(indexed_name("Check3", 2), debit_data_zero_caption(names));
  auto* debit_data = new QGroupBox(QStringLiteral("ﾃﾞｰﾀﾚｺｰﾄﾞ"));
  auto* debit_data_layout = new QVBoxLayout(debit_data);
  debit_data_layout->addWidget(check3_[0]);
  debit_data_layout->addWidget(check3_[2]);
  auto* debit_trailer = new QGroupBox(QStringLiteral("ﾄﾚｰﾗﾚｺｰﾄﾞ"));
  (new QVBoxLayout(debit_trailer))->addWidget(check3_[1]);
  auto* debit = new QGroupBox(QStringLiteral("振替"));
  auto* debit_layout = new QVBoxLayout(debit);
  debit_layout->addWidget(debit_data);
  debit_layout->addWidget(debit_trailer);

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
  ok->setObjectName(indexed_name("Command1", 1));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
  cancel->setObjectName(indexed_name("Command1", 0));
  connect(ok, &QPushButton::clicked, this, &SystemSettingsDialog::accept_values);
  connect(cancel, &QPushButton::clicked, this, [this] { close(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* content = new QWidget;
  auto* content_layout = new QVBoxLayout(content);
  content_layout->addWidget(check4_);
  content_layout->addWidget(common);
  content_layout->addWidget(credit);
  content_layout->addWidget(debit);
  content_layout->addWidget(bank);
  content_layout->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new ScrollingContent(content), 1);
  layout->addLayout(buttons);
}

void SystemSettingsDialog::load_values() {
  const SystemSettings& settings = app_.system;
  text1_->setText(settings.kana_table);
  check1_->setChecked(settings.crlf_each_record == 1);
  check2_->setChecked(settings.credit_20digit == 1);
  check3_[0]->setChecked(settings.debit_20digit == 1);
  check3_[1]->setChecked(settings.debit_trailer_zero == 1);
  check3_[2]->setChecked(settings.debit_data_zero == 1);
  check4_->setChecked(settings.company_specific == 1);
  check11_->setChecked(settings.skip_name_check == 1);
  check_characters_->setChecked(settings.bank_rules.check_characters);
  normalize_names_->setChecked(settings.bank_rules.normalize_names);
  check_codes_->setChecked(settings.bank_rules.check_codes);

  const int length = effective_record_length(settings.record_length.value_or(0));
  for (int i = 0; i < static_cast<int>(kRecordLengths.size()); ++i)
    option1_[i]->setChecked(kRecordLengths[i] == length);
}

void SystemSettingsDialog::store_values(SystemSettings& settings) const {
  settings.kana_table = text1_->text();
  settings.crlf_each_record = checked(check1_);
  settings.credit_20digit = checked(check2_);
  settings.debit_20digit = checked(check3_[0]);
  settings.debit_trailer_zero = checked(check3_[1]);
  settings.debit_data_zero = checked(check3_[2]);
  settings.company_specific = checked(check4_);
  settings.skip_name_check = checked(check11_);
  settings.bank_rules.check_characters = check_characters_->isChecked();
  settings.bank_rules.normalize_names = normalize_names_->isChecked();
  settings.bank_rules.check_codes = check_codes_->isChecked();
  for (int i = 0; i < static_cast<int>(kRecordLengths.size()); ++i) {
    if (option1_[i]->isChecked()) settings.record_length = kRecordLengths[i];
  }
}

void SystemSettingsDialog::accept_values() {
  // tbk.ini keeps every text between double quotes with nothing escaped, so a
  // quote inside the kana set would cut it short and shift every later line.
  const QString problem =
      unstorable_text_problem(QStringLiteral("「半角ｶﾀｶﾅ変換対象文字列」"), text1_->text());
  if (!problem.isEmpty()) {
    show_notice(app_, QStringLiteral("エラー"), problem);
    text1_->setFocus();
    return;
  }
  const BankRules previous_rules = app_.system.bank_rules;
  store_values(app_.system);
  if (app_.system.bank_rules != previous_rules) {
    const SaveResult saved = save_bank_rules(app_.system.bank_rules);
    if (!saved.ok) show_notice(app_, QStringLiteral("エラー"), saved.message);
  }
  close();
}

}  // namespace tsubakuro
