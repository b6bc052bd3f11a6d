#pragma once

#include "gui/shell/child_window.h"

class QCheckBox;

namespace tsubakuro {

class OptionsGroup;

// システム設定: the system-wide conversion options and the switch that hands them over
// to each company's own copy. Values reach SystemSettings on "OK" only; "tbk.ini" is
// written when the main window closes, the banks' rules ("tsubakuro.ini") on "OK".
class SystemSettingsDialog : public ChildWindow {
  Q_OBJECT

 public:
  explicit SystemSettingsDialog(AppState& app);

 private:
  void accept_values();

  QCheckBox* check4_ = nullptr;  // company_specific
  OptionsGroup* options_ = nullptr;
  QCheckBox* check_characters_ = nullptr;
  QCheckBox* normalize_names_ = nullptr;
  QCheckBox* check_codes_ = nullptr;
};

}  // namespace tsubakuro
