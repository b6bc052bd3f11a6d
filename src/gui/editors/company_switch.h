#pragma once

#include "core/settings/company_settings.h"
#include "gui/shell/child_window.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace tsubakuro {

class ChoiceList;

// 切替: chooses the current company and transfer kind that every conversion uses.
// Each company picked is loaded at once into the window's own copy, so the kinds it
// has in use can be offered; "OK" makes that copy the current company's settings.
class CompanySwitch : public ChildWindow {
  Q_OBJECT

 public:
  explicit CompanySwitch(AppState& app, QWidget* parent = nullptr);

 private:
  void select_company(int index);
  void confirm();

  QString selected_name_;     // the company picked last
  CompanySettings selected_;  // its settings, as read from its file
  ChoiceList* company_list_ = nullptr;
  QRadioButton* credit_option_ = nullptr;
  QRadioButton* debit_option_ = nullptr;
  QPushButton* ok_button_ = nullptr;
};

}  // namespace tsubakuro
