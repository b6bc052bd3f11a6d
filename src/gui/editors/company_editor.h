#pragma once

#include "gui/shell/child_window.h"

class QPushButton;
class QStackedWidget;
class QTabBar;

namespace tsubakuro {

class OptionsPage;
class TransferPage;

// 環境設定: edits one company's settings on three pages (振込, 振替, 共通) and writes
// them to its settings file. Opens on AppState::edit_company in AppState::edit_mode
// (1 registers a new company, 2 changes one).
class CompanyEditor : public ChildWindow {
  Q_OBJECT

 public:
  explicit CompanyEditor(AppState& app, QWidget* parent = nullptr);

 private:
  void show_page(int index);
  // Disables the body lists of data fields that an option merges or fixes.
  void apply_merged_field_rule();
  void browse(TransferPage* page, int box);
  void save_clicked();
  // The name to register under, asked until it can name a file and the user
  // accepts to overwrite an existing one; empty text when the user gave up.
  QString ask_new_name();

  QTabBar* tabs_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  TransferPage* credit_page_ = nullptr;
  TransferPage* debit_page_ = nullptr;
  OptionsPage* options_page_ = nullptr;
};

}  // namespace tsubakuro
