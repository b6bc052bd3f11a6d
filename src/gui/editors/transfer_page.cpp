#include "gui/editors/transfer_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/zengin/padding.h"
#include "core/zengin/record_layout.h"
#include "gui/editors/bank_search_window.h"
#include "gui/shell/choice_list.h"

namespace tsubakuro {
namespace {

// Header values 5 to 8: 取引銀行番号, 取引銀行名, 取引支店番号, 取引支店名.
constexpr int kBankCodeValue = 5;
constexpr int kBranchCodeValue = 7;
constexpr std::array<int, 2> kCodeValues{kBankCodeValue, kBranchCodeValue};
constexpr int kCodeWidths[2] = {4, 3};
const QString kNotInList = QStringLiteral("銀行一覧にありません");

constexpr int kPathLimit = 256;
constexpr int kColumnChoices = 30;
constexpr int kSkipRowChoices = 5;

// The names the controls carry on each page.
struct PageNames {
  const char16_t* file_box;
  const char16_t* browse;
  const char16_t* use_check;
  const char16_t* use_caption;
  const char16_t* header_box;
  const char16_t* body_list;
  const char16_t* skip_rows;
  const char16_t* footer;
  const char16_t* bank_hint;
  const char16_t* bank_search;
};

constexpr PageNames kCreditNames{u"Text1",     u"Command1",   u"Check1", u"振込変換使用する",
                                 u"Text2",     u"Combo1",     u"Combo2", u"Check2",
                                 u"BankHint2", u"BankSearch2"};
constexpr PageNames kDebitNames{u"Text11",     u"Command11",   u"Check11", u"振替変換使用する",
                                u"Text21",     u"Combo21",     u"Combo11", u"Check21",
                                u"BankHint21", u"BankSearch21"};

QString indexed(const char16_t* name, int index) {
  return QStringLiteral("%1(%2)").arg(QString::fromUtf16(name)).arg(index);
}

ChoiceList* new_number_list(int first, int last, QWidget* parent) {
  auto* list = new ChoiceList(parent);
  for (int number = first; number <= last; ++number) list->addItem(QString::number(number));
  list->set_value(QString());
  return list;
}

QLabel* new_buddy_label(QWidget* control, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setBuddy(control);
  return label;
}

void set_label(QLabel* label, QWidget* control, const QString& text) {
  label->setText(text);
  control->setAccessibleName(text);
}

// The code as the header record writes it, so the page names what the bank reads.
QString written_code(const QLineEdit* box, int which) {
  return zero_right(box->text(), kCodeWidths[which]);
}

void show_hint(QLabel* hint, const QString& text, bool unknown) {
  hint->setText(text);
  hint->setAccessibleName(text);
  QPalette palette = hint->parentWidget()->palette();
  if (unknown) palette.setColor(QPalette::WindowText, Qt::red);
  hint->setPalette(palette);
}

}  // namespace

TransferPage::TransferPage(TransferKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind), bank_list_(shipped_bank_list()) {
  const PageNames& names = kind == TransferKind::Debit ? kDebitNames : kCreditNames;

  auto* file_group = new QGroupBox(QStringLiteral("ﾌｧｲﾙ設定"), this);
  auto* file_layout = new QGridLayout(file_group);
  const std::array<QString, 2> file_captions{QStringLiteral("入力ﾌｧｲﾙ"),
                                             QStringLiteral("出力ﾌｧｲﾙ")};
  for (int i = 0; i < 2; ++i) {
    file_boxes_[i] = new QLineEdit(file_group);
    file_boxes_[i]->setObjectName(indexed(names.file_box, i));
    file_boxes_[i]->setMaxLength(kPathLimit);
    auto* file_label = new_buddy_label(file_boxes_[i], file_group);
    set_label(file_label, file_boxes_[i], file_captions[i]);
    browse_buttons_[i] = new QPushButton(QStringLiteral("参照"), file_group);
    browse_buttons_[i]->setObjectName(indexed(names.browse, i));
    browse_buttons_[i]->setAccessibleName(file_captions[i] + QStringLiteral(" 参照"));
    file_layout->addWidget(file_label, i, 0);
    file_layout->addWidget(file_boxes_[i], i, 1);
    file_layout->addWidget(browse_buttons_[i], i, 2);
  }

  use_check_ = new QCheckBox(QString::fromUtf16(names.use_caption), this);
  use_check_->setObjectName(QString::fromUtf16(names.use_check));

  auto* header_group = new QGroupBox(QStringLiteral("ﾍｯﾀﾞｰ情報"), this);
  auto* header_layout = new QGridLayout(header_group);
  const auto header_fields = record_layout(kind, RecordKind::Header);
  for (int i = 0; i < kHeaderValueCount; ++i) {
    header_boxes_[i] = new QLineEdit(header_group);
    header_boxes_[i]->setObjectName(indexed(names.header_box, i));
    // The box holds no more than the bank's field takes.
    header_boxes_[i]->setMaxLength(header_fields[i + 1].width);
    header_labels_[i] = new_buddy_label(header_boxes_[i], header_group);
    header_layout->addWidget(header_labels_[i], i, 0);
    header_layout->addWidget(header_boxes_[i], i, 1);
  }
  for (int which = 0; which < 2; ++which) {
    bank_hints_[which] = new QLabel(header_group);
    bank_hints_[which]->setObjectName(indexed(names.bank_hint, which));
    header_layout->addWidget(bank_hints_[which], kCodeValues[which], 2);
    connect(header_boxes_[kCodeValues[which]], &QLineEdit::textEdited, this,
            [this, which] { code_edited(which); });
    connect(header_boxes_[kCodeValues[which]], &QLineEdit::textChanged, this,
            &TransferPage::show_bank_hints);
  }
  bank_search_button_ = new QPushButton(QStringLiteral("銀行検索"), header_group);
  bank_search_button_->setObjectName(QString::fromUtf16(names.bank_search));
  bank_search_button_->setAccessibleName(QStringLiteral("銀行検索"));
  bank_search_button_->setEnabled(bank_list_ != nullptr);
  if (!bank_list_) bank_search_button_->setToolTip(QStringLiteral("銀行一覧が見つかりません"));
  connect(bank_search_button_, &QPushButton::clicked, this, &TransferPage::search_bank);
  header_layout->addWidget(bank_search_button_, kBankCodeValue + 1, 2, Qt::AlignLeft);
  header_layout->setColumnStretch(1, 1);
  header_layout->setRowStretch(kHeaderValueCount, 1);

  auto* body_group = new QGroupBox(QStringLiteral("ﾎﾞﾃﾞｨ情報"), this);
  auto* body_layout = new QGridLayout(body_group);
  for (int i = 0; i < kBodyColumnCount; ++i) {
    body_lists_[i] = new_number_list(1, kColumnChoices, body_group);
    body_lists_[i]->setObjectName(indexed(names.body_list, i));
    body_labels_[i] = new_buddy_label(body_lists_[i], body_group);
    body_layout->addWidget(body_labels_[i], i, 0);
    body_layout->addWidget(body_lists_[i], i, 1);
  }
  body_layout->setRowStretch(kBodyColumnCount, 1);

  auto* skip_group = new QGroupBox(QStringLiteral("読み飛し"), this);
  auto* skip_layout = new QHBoxLayout(skip_group);
  skip_rows_list_ = new_number_list(0, kSkipRowChoices, skip_group);
  skip_rows_list_->setMinimumContentsLength(3);
  skip_rows_list_->setObjectName(QString::fromUtf16(names.skip_rows));
  auto* skip_rows_label = new_buddy_label(skip_rows_list_, skip_group);
  set_label(skip_rows_label, skip_rows_list_, QStringLiteral("ﾍｯﾀﾞｰ行数"));
  footer_check_ = new QCheckBox(QStringLiteral("ﾌｯﾀｰ"), skip_group);
  footer_check_->setObjectName(QString::fromUtf16(names.footer));
  // A new company starts with its last input row taken for a footer.
  footer_check_->setChecked(true);
  skip_layout->addWidget(skip_rows_label);
  skip_layout->addWidget(skip_rows_list_);
  skip_layout->addSpacing(24);
  skip_layout->addWidget(footer_check_);
  skip_layout->addStretch();

  auto* left_column = new QVBoxLayout;
  left_column->addWidget(use_check_);
  left_column->addWidget(header_group, 1);
  left_column->addWidget(skip_group);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left_column, 3);
  columns->addWidget(body_group, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file_group);
  layout->addLayout(columns, 1);
}

void TransferPage::label_rows(const FieldTable& field_names) {
  for (int i = 0; i < kHeaderValueCount; ++i) {
    set_label(header_labels_[i], header_boxes_[i],
              field_names.at(kind_, RecordKind::Header, i + 2));
  }
  for (int i = 0; i < kBodyColumnCount; ++i) {
    set_label(body_labels_[i], body_lists_[i], field_names.at(kind_, RecordKind::Data, i + 2));
  }
}

void TransferPage::fill(const TransferSettings& section) {
  use_check_->setChecked(section.enabled);
  skip_rows_list_->set_value(section.skip_header_rows);
  footer_check_->setChecked(section.skip_footer);
  file_boxes_[0]->setText(section.input_file);
  file_boxes_[1]->setText(section.output_file);
  for (int i = 0; i < kHeaderValueCount; ++i) header_boxes_[i]->setText(section.header_values[i]);
  filled_names_ = {};
  for (int i = 0; i < kBodyColumnCount; ++i) body_lists_[i]->set_value(section.body_columns[i]);
}

void TransferPage::code_edited(int which) {
  if (!bank_list_) return;
  // The bank's code changes which branch the branch code names, too.
  for (int i = which; i < 2; ++i) {
    QLineEdit* name_box = header_boxes_[kCodeValues[i] + 1];
    if (!name_box->text().isEmpty() && name_box->text() != filled_names_[i]) continue;
    const QString bank = written_code(header_boxes_[kBankCodeValue], 0);
    const auto entry =
        i == 0 ? bank_list_->bank(bank)
               : bank_list_->branch(bank, written_code(header_boxes_[kBranchCodeValue], 1));
    filled_names_[i] = entry ? entry->kana.left(name_box->maxLength()).toString() : QString();
    name_box->setText(filled_names_[i]);
  }
}

void TransferPage::show_bank_hints() {
  if (!bank_list_) return;
  const QString bank_code = header_boxes_[kBankCodeValue]->text();
  const QString branch_code = header_boxes_[kBranchCodeValue]->text();
  const auto bank = bank_list_->bank(written_code(header_boxes_[kBankCodeValue], 0));
  if (bank_code.isEmpty()) {
    show_hint(bank_hints_[0], {}, false);
  } else {
    show_hint(bank_hints_[0], bank ? bank->name.toString() : kNotInList, !bank);
  }
  // A branch can be judged only within a bank the list knows.
  if (branch_code.isEmpty() || !bank) {
    show_hint(bank_hints_[1], {}, false);
    return;
  }
  const auto branch =
      bank_list_->branch(bank->code, written_code(header_boxes_[kBranchCodeValue], 1));
  show_hint(bank_hints_[1], branch ? branch->name.toString() : kNotInList, !branch);
}

void TransferPage::search_bank() {
  const auto bank_code = written_code(header_boxes_[kBankCodeValue], 0);
  const auto branch_code = written_code(header_boxes_[kBranchCodeValue], 1);
  const auto chosen = BankSearchWindow::choose(bank_list_, bank_code, branch_code, this);
  if (!chosen) return;
  const std::array<QString, 4> values{chosen->bank_code, chosen->bank_kana, chosen->branch_code,
                                      chosen->branch_kana};
  for (int i = 0; i < 4; ++i) header_boxes_[kBankCodeValue + i]->setText(values[i]);
  filled_names_ = {chosen->bank_kana, chosen->branch_kana};
}

void TransferPage::store(TransferSettings& section) const {
  section.enabled = use_check_->isChecked();
  const QString skip_rows = skip_rows_list_->currentText();
  section.skip_header_rows = skip_rows.isEmpty() ? QStringLiteral("0") : skip_rows;
  section.skip_footer = footer_check_->isChecked();
  section.input_file = file_boxes_[0]->text();
  section.output_file = file_boxes_[1]->text();
  for (int i = 0; i < kHeaderValueCount; ++i) section.header_values[i] = header_boxes_[i]->text();
  for (int i = 0; i < kBodyColumnCount; ++i) {
    section.body_columns[i] = body_lists_[i]->currentText();
  }
}

}  // namespace tsubakuro
