#include "gui/editors/company_switch.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/settings/company_name.h"
#include "gui/editors/company_list.h"
#include "gui/shell/choice_list.h"
#include "gui/shell/message_dialogs.h"

namespace tsubakuro {
namespace {

ChoiceList* new_company_box(QWidget* parent) {
  auto* box = new ChoiceList(parent);
  box->setObjectName(QStringLiteral("社名"));
  box->setMinimumContentsLength(20);
  return box;
}

}  // namespace

CompanySwitch::CompanySwitch(AppState& app, QWidget* parent)
    : ChildWindow(app, WindowSlot::CompanySwitch, parent), selected_(app.company) {
  setObjectName(QStringLiteral("切替"));
  setWindowTitle(QStringLiteral("切替"));

  auto* name_label = new QLabel(QStringLiteral("社名"), this);
  company_list_ = new_company_box(this);
  name_label->setBuddy(company_list_);
  company_list_->setAccessibleName(QStringLiteral("社名"));

  auto* kind_frame = new QGroupBox(QStringLiteral("変換形式"), this);
  credit_option_ = new QRadioButton(QStringLiteral("振込"), kind_frame);
  credit_option_->setObjectName(QStringLiteral("Option1(0)"));
  debit_option_ = new QRadioButton(QStringLiteral("振替"), kind_frame);
  debit_option_->setObjectName(QStringLiteral("Option1(1)"));
  auto* kinds = new QButtonGroup(this);
  kinds->addButton(credit_option_, 0);
  kinds->addButton(debit_option_, 1);
  auto* kind_layout = new QHBoxLayout(kind_frame);
  kind_layout->addWidget(credit_option_);
  kind_layout->addWidget(debit_option_);

  ok_button_ = new QPushButton(QStringLiteral("OK"), this);
  ok_button_->setObjectName(QStringLiteral("Command1(1)"));
  auto* cancel_button = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_button->setObjectName(QStringLiteral("Command1(0)"));

  auto* name_row = new QHBoxLayout;
  name_row->addWidget(name_label);
  name_row->addWidget(company_list_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_button_);
  buttons->addWidget(cancel_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(name_row);
  layout->addWidget(kind_frame);
  layout->addLayout(buttons);

  QRadioButton* current_kind =
      app_.system.transfer_kind == TransferKind::Debit ? debit_option_ : credit_option_;
  current_kind->setChecked(true);

  const CompanyList companies = list_companies(app_.system.current_company);
  company_list_->addItems(companies.names);
  if (companies.names.isEmpty()) {
    ok_button_->setEnabled(false);
  } else {
    select_company(0);
    if (companies.current_index > 0) select_company(companies.current_index);
  }
  // Loading a company never moves the kind the user works in.
  current_kind->setChecked(true);

  connect(company_list_, &QComboBox::activated, this, &CompanySwitch::select_company);
  connect(ok_button_, &QPushButton::clicked, this, &CompanySwitch::confirm);
  connect(cancel_button, &QPushButton::clicked, this, [this] { close(); });
}

void CompanySwitch::select_company(int index) {
  company_list_->setCurrentIndex(index);
  // A file that cannot be read leaves the copy as it was, and the options follow that.
  selected_name_ = company_list_->itemText(index);
  if (Result<LoadedCompanySettings> loaded = load_company_settings(selected_name_, selected_))
    selected_ = std::move(loaded->settings);
  else
    show_failure(app_, loaded.failure());
  const bool credit = selected_.credit.enabled;
  const bool debit = selected_.debit.enabled;
  credit_option_->setEnabled(credit);
  debit_option_->setEnabled(debit);
  ok_button_->setEnabled(credit || debit);
}

void CompanySwitch::confirm() {
  // The name becomes the current company, which the system settings file keeps:
  // a name it cannot keep is refused now, not when the session ends.
  if (const Result<void> checked = check_entered_company_name(company_list_->currentText());
      !checked) {
    show_failure(app_, checked.failure());
    company_list_->setFocus();
    return;
  }
  app_.system.transfer_kind =
      debit_option_->isChecked() ? TransferKind::Debit : TransferKind::Credit;
  const QString name = company_list_->currentText();
  if (name != selected_name_) {
    // A typed name was never picked: its own file, or nothing, stands for it, never
    // the company picked before. A missing file is told when a conversion starts.
    Result<LoadedCompanySettings> loaded = load_company_settings(name);
    selected_ = loaded ? std::move(loaded->settings) : CompanySettings{};
  }
  app_.system.current_company = name;
  app_.company = selected_;
  if (app_.host != nullptr) app_.host->company_changed();
  close();
}

}  // namespace tsubakuro
