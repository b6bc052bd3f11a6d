#pragma once

#include "gui/shell/child_window.h"

namespace tsubakuro {

class ChoiceList;

// 環境設定切替: chooses the company the settings editor opens on, or starts a new one.
class CompanyPicker : public ChildWindow {
  Q_OBJECT

 public:
  explicit CompanyPicker(AppState& app, QWidget* parent = nullptr);

 private:
  // 1 新規, 2 修正: hands the name and the mode to the editor and makes way for it.
  void open_editor(int mode);

  ChoiceList* company_list_ = nullptr;
};

}  // namespace tsubakuro
