#include "gui/editors/options_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/editors/option_captions.h"

namespace tsubakuro {
namespace {

constexpr int kKanaTableLimit = 150;
constexpr std::array kRecordLengths{120, 122, 128, 130, 256, 258};
constexpr int kDefaultRecordLength = 120;

enum DebitCheck { kDebit20Digit = 0, kDebitTrailerZero = 1, kDebitDataZero = 2 };

QCheckBox* new_check(const QString& name, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(name);
  return check;
}

int flag(const QCheckBox* check) { return check->isChecked() ? 1 : 0; }

}  // namespace

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent) {
  auto* common_group = new QGroupBox(QStringLiteral("共通"), this);
  skip_name_check_ =
      new_check(QStringLiteral("Check43"), QStringLiteral("名称文字チェック省く"), common_group);
  kana_table_ = new QLineEdit(common_group);
  kana_table_->setObjectName(QStringLiteral("Text4"));
  kana_table_->setMaxLength(kKanaTableLimit);
  auto* kana_label = new QLabel(QStringLiteral("半角ｶﾀｶﾅ変換対象文字列"), common_group);
  kana_label->setBuddy(kana_table_);
  kana_table_->setAccessibleName(kana_label->text());
  crlf_check_ =
      new_check(QStringLiteral("Check41"), QStringLiteral("毎行に改行文字を入れる"), common_group);

  auto* length_group = new QGroupBox(QStringLiteral("変換後桁数"), common_group);
  auto* length_layout = new QGridLayout(length_group);
  record_lengths_ = new QButtonGroup(this);
  for (int i = 0; i < static_cast<int>(kRecordLengths.size()); ++i) {
    auto* option = new QRadioButton(QString::number(kRecordLengths[i]), length_group);
    option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
    record_lengths_->addButton(option, kRecordLengths[i]);
    length_layout->addWidget(option, i / 3, i % 3);
  }
  length_layout->addWidget(new QLabel(QStringLiteral("改行文字入れる場合は２桁込み"), length_group),
                           2, 0, 1, 3);

  auto* common_layout = new QGridLayout(common_group);
  common_layout->addWidget(skip_name_check_, 0, 0, 1, 2);
  common_layout->addWidget(kana_label, 1, 0);
  common_layout->addWidget(kana_table_, 1, 1);
  common_layout->addWidget(crlf_check_, 2, 0, 1, 2);
  common_layout->addWidget(length_group, 3, 0, 1, 2);

  auto* credit_group = new QGroupBox(QStringLiteral("振込"), this);
  auto* credit_data_group = new QGroupBox(QStringLiteral("ﾃﾞｰﾀﾚｺｰﾄﾞ"), credit_group);
  credit_20digit_ = new_check(QStringLiteral("Check42"), QString(), credit_data_group);
  (new QVBoxLayout(credit_data_group))->addWidget(credit_20digit_);
  (new QVBoxLayout(credit_group))->addWidget(credit_data_group);

  auto* debit_group = new QGroupBox(QStringLiteral("振替"), this);
  auto* debit_data_group = new QGroupBox(QStringLiteral("ﾃﾞｰﾀﾚｺｰﾄﾞ"), debit_group);
  auto* debit_trailer_group = new QGroupBox(QStringLiteral("ﾄﾚｰﾗﾚｺｰﾄﾞ"), debit_group);
  for (int i = 0; i < 3; ++i) {
    QWidget* group = i == kDebitTrailerZero ? debit_trailer_group : debit_data_group;
    debit_checks_[i] = new_check(QStringLiteral("Check5(%1)").arg(i), QString(), group);
  }
  auto* debit_data_layout = new QVBoxLayout(debit_data_group);
  debit_data_layout->addWidget(debit_checks_[kDebit20Digit]);
  debit_data_layout->addWidget(debit_checks_[kDebitDataZero]);
  (new QVBoxLayout(debit_trailer_group))->addWidget(debit_checks_[kDebitTrailerZero]);
  auto* debit_layout = new QVBoxLayout(debit_group);
  debit_layout->addWidget(debit_data_group);
  debit_layout->addWidget(debit_trailer_group);

  copy_button_ = new QPushButton(QStringLiteral("ｼｽﾃﾑ設定  からｺﾋﾟｰ"), this);
  copy_button_->setObjectName(QStringLiteral("Command3"));
  // The style's own hint leaves this long caption touching the frame.
  copy_button_->setMinimumWidth(
      copy_button_->fontMetrics().horizontalAdvance(copy_button_->text()) +
      4 * copy_button_->fontMetrics().averageCharWidth());
  auto* note = new QLabel(
      QStringLiteral(
          "この画面の設定を利用する場合は、システム設定の会社別で設定するにチェックを入れて下さい"),
      this);
  note->setWordWrap(true);

  auto* copy_row = new QHBoxLayout;
  copy_row->addWidget(note, 1);
  copy_row->addWidget(copy_button_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(common_group);
  layout->addWidget(credit_group);
  layout->addWidget(debit_group);
  layout->addLayout(copy_row);
  layout->addStretch();
}

void OptionsPage::name_options(const FieldTable& field_names) {
  credit_20digit_->setText(twenty_digit_caption(field_names, TransferKind::Credit));
  debit_checks_[kDebit20Digit]->setText(twenty_digit_caption(field_names, TransferKind::Debit));
  debit_checks_[kDebitTrailerZero]->setText(debit_trailer_zero_caption(field_names));
  debit_checks_[kDebitDataZero]->setText(debit_data_zero_caption(field_names));
}

void OptionsPage::fill(const CompanySettings& company) {
  show_values({company.kana_table, company.crlf_each_record, company.credit_20digit,
               company.debit_20digit, company.debit_trailer_zero, company.debit_data_zero,
               company.record_length, company.skip_name_check});
}

void OptionsPage::fill(const SystemSettings& system) {
  show_values({system.kana_table, system.crlf_each_record, system.credit_20digit,
               system.debit_20digit, system.debit_trailer_zero, system.debit_data_zero,
               system.record_length.value_or(0), system.skip_name_check});
}

void OptionsPage::show_values(const Values& values) {
  kana_table_->setText(values.kana_table);
  crlf_check_->setChecked(values.crlf_each_record == 1);
  credit_20digit_->setChecked(values.credit_20digit == 1);
  debit_checks_[kDebit20Digit]->setChecked(values.debit_20digit == 1);
  debit_checks_[kDebitTrailerZero]->setChecked(values.debit_trailer_zero == 1);
  debit_checks_[kDebitDataZero]->setChecked(values.debit_data_zero == 1);
  skip_name_check_->setChecked(values.skip_name_check == 1);
  // A length the bank files do not know is shown, and saved, as the plain 120.
  QAbstractButton* length = record_lengths_->button(values.record_length);
  if (length == nullptr) length = record_lengths_->button(kDefaultRecordLength);
  length->setChecked(true);
}

void OptionsPage::store(CompanySettings& company) const {
  company.kana_table = kana_table_->text();
  company.crlf_each_record = flag(crlf_check_);
  company.credit_20digit = flag(credit_20digit_);
  company.debit_20digit = flag(debit_checks_[kDebit20Digit]);
  company.debit_trailer_zero = flag(debit_checks_[kDebitTrailerZero]);
  company.debit_data_zero = flag(debit_checks_[kDebitDataZero]);
  company.skip_name_check = flag(skip_name_check_);
  company.record_length = record_lengths_->checkedId();
}

bool OptionsPage::credit_20digit() const { return credit_20digit_->isChecked(); }
bool OptionsPage::debit_20digit() const { return debit_checks_[kDebit20Digit]->isChecked(); }
bool OptionsPage::debit_data_zero() const { return debit_checks_[kDebitDataZero]->isChecked(); }

}  // namespace tsubakuro
