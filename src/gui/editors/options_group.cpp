#include "gui/editors/options_group.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/editors/option_captions.h"

namespace tsubakuro {
namespace {

constexpr int kKanaTableLimit = 150;

QCheckBox* new_check(const char* name, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(QString::fromUtf8(name));
  return check;
}

QGroupBox* new_group(const QString& title, QWidget* parent,
                     std::initializer_list<QWidget*> members) {
  auto* group = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(group);
  for (QWidget* member : members) {
    member->setParent(group);
    layout->addWidget(member);
  }
  return group;
}

}  // namespace

OptionsGroup::OptionsGroup(const OptionControlNames& names, const FieldTable& field_names,
                           QWidget* parent)
    : QWidget(parent) {
  auto* common_group = new QGroupBox(QStringLiteral("共通"), this);
  skip_name_check_ =
      new_check(names.skip_name_check, QStringLiteral("名称文字チェック省く"), common_group);
  kana_table_ = new QLineEdit(common_group);
  kana_table_->setObjectName(QString::fromUtf8(names.kana_table));
  kana_table_->setMaxLength(kKanaTableLimit);
  auto* kana_label = new QLabel(QStringLiteral("半角ｶﾀｶﾅ変換対象文字列"), common_group);
  kana_label->setBuddy(kana_table_);
  kana_table_->setAccessibleName(kana_label->text());
  crlf_check_ =
      new_check(names.crlf_each_record, QStringLiteral("毎行に改行文字を入れる"), common_group);

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

  credit_20digit_ = new_check(names.credit_20digit,
                              twenty_digit_caption(field_names, TransferKind::Credit), this);
  auto* credit_group = new QGroupBox(QStringLiteral("振込"), this);
  (new QVBoxLayout(credit_group))
      ->addWidget(new_group(QStringLiteral("ﾃﾞｰﾀﾚｺｰﾄﾞ"), credit_group, {credit_20digit_}));

  debit_20digit_ =
      new_check(names.debit[0], twenty_digit_caption(field_names, TransferKind::Debit), this);
  debit_trailer_zero_ = new_check(names.debit[1], debit_trailer_zero_caption(field_names), this);
  debit_data_zero_ = new_check(names.debit[2], debit_data_zero_caption(field_names), this);
  auto* debit_group = new QGroupBox(QStringLiteral("振替"), this);
  auto* debit_layout = new QVBoxLayout(debit_group);
  debit_layout->addWidget(
      new_group(QStringLiteral("ﾃﾞｰﾀﾚｺｰﾄﾞ"), debit_group, {debit_20digit_, debit_data_zero_}));
  debit_layout->addWidget(
      new_group(QStringLiteral("ﾄﾚｰﾗﾚｺｰﾄﾞ"), debit_group, {debit_trailer_zero_}));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(common_group);
  layout->addWidget(credit_group);
  layout->addWidget(debit_group);
}

void OptionsGroup::show_options(const ConversionOptions& options) {
  kana_table_->setText(options.kana_table);
  crlf_check_->setChecked(options.crlf_each_record);
  credit_20digit_->setChecked(options.credit_20digit);
  debit_20digit_->setChecked(options.debit_20digit);
  debit_trailer_zero_->setChecked(options.debit_trailer_zero);
  debit_data_zero_->setChecked(options.debit_data_zero);
  skip_name_check_->setChecked(options.skip_name_check);
  record_lengths_->button(options.physical_record_length())->setChecked(true);
}

ConversionOptions OptionsGroup::options() const {
  ConversionOptions options;
  options.kana_table = kana_table_->text();
  options.crlf_each_record = crlf_check_->isChecked();
  options.credit_20digit = credit_20digit_->isChecked();
  options.debit_20digit = debit_20digit_->isChecked();
  options.debit_trailer_zero = debit_trailer_zero_->isChecked();
  options.debit_data_zero = debit_data_zero_->isChecked();
  options.skip_name_check = skip_name_check_->isChecked();
  options.record_length = record_lengths_->checkedId();
  return options;
}

bool OptionsGroup::credit_20digit() const { return credit_20digit_->isChecked(); }
bool OptionsGroup::debit_20digit() const { return debit_20digit_->isChecked(); }
bool OptionsGroup::debit_data_zero() const { return debit_data_zero_->isChecked(); }

}  // namespace tsubakuro
