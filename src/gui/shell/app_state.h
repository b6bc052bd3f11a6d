#pragma once

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "gui/shell/window_host.h"
#include "gui/shell/window_slots.h"

namespace tsubakuro {

// The program's shared records, owned once by the application and handed to every
// window by reference. Nothing here is a message from one window to the next: a
// window gets what it needs in its constructor and keeps its own copy of what it
// edits.
struct AppState {
  SystemSettings system;
  // The settings of system.current_company, as last read from its file. Only a
  // confirmed 切替 puts another company here.
  CompanySettings company;
  OpenWindowCounts open_windows;
  WindowHost* host = nullptr;  // the main window, while it exists
};

}  // namespace tsubakuro
