#pragma once

#include <QString>

#include "app/window_slots.h"
#include "settings/company_settings.h"
#include "settings/system_settings.h"

namespace tsubakuro {

class MainWindow;

// The program's shared records, owned once by the application and handed to every
// window by reference.
struct AppState {
  SystemSettings system;
  CompanySettings company;  // the company loaded last
  OpenWindowCounts open_windows;
  // Handed from the company picker to the company settings editor.
  QString edit_company;
  int edit_mode = 0;  // 1 新規, 2 修正
  // The file chooser's answer: empty text when the user cancelled.
  QString chosen_file_path;
  MainWindow* main_window = nullptr;  // set while the main window exists
};

}  // namespace tsubakuro
