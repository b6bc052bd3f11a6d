#pragma once

#include <QWidget>

#include "gui/shell/app_state.h"
#include "gui/shell/window_slots.h"

namespace tsubakuro {

// A child window of the main window that follows the window routine by itself:
// it counts itself open and takes its place from its slot when it first shows
// in the MDI area, and stores its place and counts itself closed when it closes,
// whoever closes it (its own button, its frame's close box, or the main window
// ending the program). Its frame closes with it.
//
//   class CompanySwitch : public ChildWindow {
//    public:
//     explicit CompanySwitch(AppState& app)
//         : ChildWindow(app, WindowSlot::CompanySwitch) {
//       setObjectName(QStringLiteral("切替"));
//       setWindowTitle(QStringLiteral("切替"));
//       ... controls; a "ｷｬﾝｾﾙ" button connected to close() ...
//     }
//    protected:
//     void on_opened() override { ... loading that needs the window placed ... }
//     void on_closing() override { ... anything to do before the place is stored ... }
//   };
//
//   void MainWindow::open_company_switch() { show_child(new CompanySwitch(app_)); }
//
// A window that must refuse to close overrides closeEvent, ignores the event,
// and calls ChildWindow::closeEvent only when it agrees to close.
class ChildWindow : public QWidget {
  Q_OBJECT

 public:
  ChildWindow(AppState& app, WindowSlot slot, QWidget* parent = nullptr);

  WindowSlot slot() const { return slot_; }
  bool is_open() const { return opened_ && !closed_; }

 protected:
  // Runs once, right after window_opened, when the window is first shown.
  virtual void on_opened() {}
  // Runs once when the window closes, before window_closed stores its place.
  virtual void on_closing() {}

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

  AppState& app_;

 private:
  WindowSlot slot_;
  bool opened_ = false;
  bool closed_ = false;
};

}  // namespace tsubakuro
