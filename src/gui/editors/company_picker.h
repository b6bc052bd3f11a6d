#pragma once

#include "gui/editors/company_editor.h"
#include "gui/shell/child_window.h"

namespace tsubakuro {

class ChoiceList;

// 環境設定切替: chooses the company the settings editor opens on, or starts a new one.
class CompanyPicker : public ChildWindow {
  Q_OBJECT

 public:
  explicit CompanyPicker(AppState& app, QWidget* parent = nullptr);

 private:
  // Opens the editor on the name in 社名 and makes way for it.
  void open_editor(EditMode mode);

  ChoiceList* company_list_ = nullptr;
};

}  // namespace tsubakuro
