#pragma once

#include <QString>

#include "core/settings/company_settings.h"
#include "gui/shell/child_window.h"

class QPushButton;
class QStackedWidget;
class QTabBar;

namespace tsubakuro {

class OptionsPage;
class TransferPage;

enum class EditMode { New, Change };  // 新規 registers a company, 修正 changes one

// 環境設定: edits one company's settings on three pages (振込, 振替, 共通) and writes
// them to its settings file. Works on its own copy: the current company's settings
// change only when this window saves that company.
class CompanyEditor : public ChildWindow {
  Q_OBJECT

 public:
  // `company` is the name to change; a new company is named when it is saved.
  CompanyEditor(AppState& app, EditMode mode, const QString& company = QString(),
                QWidget* parent = nullptr);

 private:
  void show_page(int index);
  // Disables the body lists of data fields that an option merges or fixes.
  void apply_merged_field_rule();
  void browse(TransferPage* page, int box);
  void save_clicked();
  // The name to register under, asked until it can name a file and the user
  // accepts to overwrite an existing one; empty text when the user gave up.
  QString ask_new_name();

  EditMode mode_;
  QString company_;
  // What the pages were filled from: the company as read from its file (in new
  // mode, and when the file cannot be read, the current company's values).
  CompanySettings settings_;
  QTabBar* tabs_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  TransferPage* credit_page_ = nullptr;
  TransferPage* debit_page_ = nullptr;
  OptionsPage* options_page_ = nullptr;
};

}  // namespace tsubakuro
