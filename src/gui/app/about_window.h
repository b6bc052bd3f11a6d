#pragma once

#include <QDialog>
#include <functional>

#include "gui/shell/app_state.h"

namespace tsubakuro {

// バージョン情報: the product name and version, and a way to the platform's system
// information tool.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  // `start_system_info` starts the tool and tells whether one could be started.
  explicit AboutWindow(AppState& app, QWidget* parent = nullptr,
                       std::function<bool()> start_system_info = {});

 private:
  void show_system_info();

  AppState& app_;
  std::function<bool()> start_system_info_;
};

}  // namespace tsubakuro
