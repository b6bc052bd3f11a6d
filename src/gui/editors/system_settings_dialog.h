#pragma once

#include <array>

#include "gui/shell/child_window.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tsubakuro {

// システム設定: the system-wide conversion options and the switch that hands them over
// to each company's own copy. Values reach SystemSettings on "OK" only; "tbk.ini" is
// written when the main window closes, the banks' rules ("tsubakuro.ini") on "OK".
class SystemSettingsDialog : public ChildWindow {
  Q_OBJECT

 public:
  explicit SystemSettingsDialog(AppState& app);

 private:
  void build_controls();
  void load_values();
  void store_values(SystemSettings& settings) const;
  void accept_values();

  QCheckBox* check4_ = nullptr;   // company_specific
  QCheckBox* check11_ = nullptr;  // skip_name_check
  QLineEdit* text1_ = nullptr;    // kana_table
  QCheckBox* check1_ = nullptr;   // crlf_each_record
  std::array<QRadioButton*, 6> option1_{};
  QCheckBox* check2_ = nullptr;         // credit_20digit
  std::array<QCheckBox*, 3> check3_{};  // debit_20digit, debit_trailer_zero, debit_data_zero
  QCheckBox* check_characters_ = nullptr;
  QCheckBox* normalize_names_ = nullptr;
  QCheckBox* check_codes_ = nullptr;
};

}  // namespace tsubakuro
