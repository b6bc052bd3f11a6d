#pragma once

#include "gui/shell/child_window.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace tsubakuro {

class ChoiceList;

// 切替: chooses the current company and transfer kind that every conversion uses.
// Each company picked is loaded at once, so the kinds it has in use can be offered.
class CompanySwitch : public ChildWindow {
  Q_OBJECT

 public:
  explicit CompanySwitch(AppState& app, QWidget* parent = nullptr);

 private:
  void select_company(int index);
  void confirm();

  ChoiceList* company_list_ = nullptr;
  QRadioButton* credit_option_ = nullptr;
  QRadioButton* debit_option_ = nullptr;
  QPushButton* ok_button_ = nullptr;
};

}  // namespace tsubakuro
