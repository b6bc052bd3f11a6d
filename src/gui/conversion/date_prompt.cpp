#include "gui/conversion/date_prompt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/conversion/conversion_procedure.h"
#include "core/zengin/transfer_date.h"
#include "gui/shell/message_dialogs.h"

namespace tsubakuro {

DatePrompt::DatePrompt(AppState& app, ConversionProcedure& procedure)
    : ChildWindow(app, WindowSlot::DatePrompt), procedure_(procedure) {
  setObjectName(QStringLiteral("変換日付入力"));
  setWindowTitle(QStringLiteral("変換処理"));

  auto* layout = new QVBoxLayout(this);
  labels_ = add_company_labels(this, layout);

  auto* date_row = new QHBoxLayout;
  month_ = new QLineEdit(this);
  day_ = new QLineEdit(this);
  auto* month_label = new QLabel(QStringLiteral("月"), this);
  auto* day_label = new QLabel(QStringLiteral("日で変換を行います"), this);
  int index = 0;
  for (QLineEdit* box : {month_, day_}) {
    box->setObjectName(QStringLiteral("Text1(%1)").arg(index++));
    box->setMaxLength(2);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    box->setAlignment(Qt::AlignRight);
  }
  month_label->setObjectName(QStringLiteral("Label2(0)"));
  day_label->setObjectName(QStringLiteral("Label2(1)"));
  month_label->setBuddy(month_);
  day_label->setBuddy(day_);
  month_->setAccessibleName(QStringLiteral("月"));
  day_->setAccessibleName(QStringLiteral("日"));
  date_row->addWidget(month_);
  date_row->addWidget(month_label);
  date_row->addWidget(day_);
  date_row->addWidget(day_label);
  date_row->addStretch();
  layout->addLayout(date_row);

  // What the two boxes mean as a day, and a warning when banks do not work then:
  // the bank would refuse the file or move the transfer. Only a warning, since the
  // user may convert ahead and change the date later.
  auto* day_row = new QHBoxLayout;
  full_date_ = new QLabel(this);
  full_date_->setObjectName(QStringLiteral("LabelTransferDay"));
  closed_warning_ = new QLabel(this);
  closed_warning_->setObjectName(QStringLiteral("LabelBankClosed"));
  QPalette warning_palette = closed_warning_->palette();
  warning_palette.setColor(QPalette::WindowText, Qt::red);
  closed_warning_->setPalette(warning_palette);
  // Room for the longest day and reason, so the window does not open too narrow
  // for the text that appears as the user types.
  full_date_->setMinimumWidth(
      full_date_->fontMetrics().horizontalAdvance(QStringLiteral("0000年00月00日（月）")));
  closed_warning_->setMinimumWidth(closed_warning_->fontMetrics().horizontalAdvance(
      QStringLiteral("銀行休業日です（即位礼正殿の儀）")));
  day_row->addWidget(full_date_);
  day_row->addWidget(closed_warning_);
  day_row->addStretch();
  layout->addLayout(day_row);
  for (QLineEdit* box : {month_, day_})
    connect(box, &QLineEdit::textChanged, this, &DatePrompt::show_transfer_day);

  auto* buttons = new QHBoxLayout;
  cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  start_ = new QPushButton(QStringLiteral("変換開始"), this);
  cancel_->setObjectName(QStringLiteral("Command1(0)"));
  start_->setObjectName(QStringLiteral("Command1(1)"));
  buttons->addStretch();
  buttons->addWidget(cancel_);
  buttons->addWidget(start_);
  layout->addLayout(buttons);

  connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
  connect(start_, &QPushButton::clicked, this, &DatePrompt::start_conversion);
  connect(day_, &QLineEdit::returnPressed, start_, &QPushButton::click);
}

void DatePrompt::set_today(std::function<QDate()> today) {
  today_ = std::move(today);
  show_transfer_day();
}

void DatePrompt::show_transfer_day() {
  const TransferDate date = TransferDate::typed(month_->text(), day_->text()).resolved(today_());
  full_date_->setText(date.full_text());
  closed_warning_->setText(date.bank_closed_warning());
}

void DatePrompt::on_opened() {
  // The company settings are read afresh for this conversion: those of another
  // company must never be converted under this one's name.
  const Result<void> loaded = procedure_.load_company();
  const bool ready = loaded.ok();
  show_company_labels(labels_, procedure_);
  const TransferDate date = procedure_.transfer_date();
  month_->setText(date.month());
  day_->setText(date.day());
  month_->setFocus();
  start_->setEnabled(ready);
  if (ready) return;
  // The message waits until the window stands on the screen, so the user sees
  // what it is about.
  QTimer::singleShot(0, this, [this, message = loaded.message()] {
    show_notice(app_, ConversionProcedure::kErrorTitle, message);
  });
}

void DatePrompt::start_conversion() {
  if (const Result<void> stored =
          procedure_.store_date(TransferDate::typed(month_->text(), day_->text()));
      !stored) {
    show_notice(app_, ConversionProcedure::kErrorTitle, stored.message());
    return;
  }
  start_->setEnabled(false);
  emit date_stored();
}

}  // namespace tsubakuro
