#pragma once

#include <QString>

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "gui/shell/window_host.h"
#include "gui/shell/window_slots.h"

namespace tsubakuro {

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
  WindowHost* host = nullptr;  // the main window, while it exists
};

}  // namespace tsubakuro
