#include "gui/editors/company_picker.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/settings/company_name.h"
#include "gui/editors/company_editor.h"
#include "gui/editors/company_list.h"
#include "gui/shell/choice_list.h"
#include "gui/shell/message_dialogs.h"

namespace tsubakuro {

CompanyPicker::CompanyPicker(AppState& app, QWidget* parent)
    : ChildWindow(app, WindowSlot::CompanyPicker, parent) {
  setObjectName(QStringLiteral("環境設定切替"));
  setWindowTitle(QStringLiteral("環境設定"));

  auto* note = new QLabel(QStringLiteral("会社別の環境設定メンテナンスを行います。"), this);
  note->setObjectName(QStringLiteral("Label1"));

  auto* name_label = new QLabel(QStringLiteral("社名"), this);
  company_list_ = new ChoiceList(this);
  company_list_->setObjectName(QStringLiteral("社名"));
  company_list_->setAccessibleName(QStringLiteral("社名"));
  company_list_->setMinimumContentsLength(20);
  name_label->setBuddy(company_list_);

  auto* new_button = new QPushButton(QStringLiteral("新規"), this);
  new_button->setObjectName(QStringLiteral("Command1(1)"));
  auto* change_button = new QPushButton(QStringLiteral("修正"), this);
  change_button->setObjectName(QStringLiteral("Command1(2)"));
  auto* cancel_button = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_button->setObjectName(QStringLiteral("Command1(0)"));

  auto* name_row = new QHBoxLayout;
  name_row->addWidget(name_label);
  name_row->addWidget(company_list_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(new_button);
  buttons->addWidget(change_button);
  buttons->addWidget(cancel_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(name_row);
  layout->addLayout(buttons);

  const CompanyList companies = list_companies(app_.system.current_company);
  company_list_->addItems(companies.names);
  if (companies.names.isEmpty()) change_button->setEnabled(false);
  if (companies.current_index >= 0) company_list_->setCurrentIndex(companies.current_index);

  connect(new_button, &QPushButton::clicked, this, [this] { open_editor(EditMode::New); });
  connect(change_button, &QPushButton::clicked, this, [this] { open_editor(EditMode::Change); });
  connect(cancel_button, &QPushButton::clicked, this, [this] { close(); });
}

void CompanyPicker::open_editor(EditMode mode) {
  // A new company is named when it is registered; a changed one is saved under
  // the name given here, so that name must be one the program can keep.
  if (mode == EditMode::Change) {
    if (const Result<void> checked = check_entered_company_name(company_list_->currentText());
        !checked) {
      show_failure(app_, checked.failure());
      company_list_->setFocus();
      return;
    }
  }
  app_.host->show_child(new CompanyEditor(app_, mode, company_list_->currentText()));
  // The editor and this window never stand open together.
  close();
}

}  // namespace tsubakuro
