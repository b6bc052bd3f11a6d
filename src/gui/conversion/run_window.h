#pragma once

#include <QTimer>
#include <memory>

#include "gui/conversion/window_helpers.h"
#include "gui/shell/child_window.h"
#include "gui/shell/message_dialogs.h"

class QProgressBar;
class QPushButton;

namespace tsubakuro {

class ConversionRun;

// 変換中: performs one conversion of the current company and kind. The run object
// does the work one input line per step; between steps the window lets pending
// events run, which is how 中止 is heard and the window repaints.
class RunWindow : public ChildWindow {
  Q_OBJECT

 public:
  explicit RunWindow(AppState& app);
  ~RunWindow() override;

  // How long the work loop runs steps before it lets events run.
  static constexpr int kStepSliceMs = 10;

 protected:
  void on_opened() override;
  void on_closing() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void work();
  void cancel();
  void show_progress();

  DialogNotifier notifier_;
  CompanyLabels labels_{};
  QProgressBar* progress_ = nullptr;  // ProgressBar1
  QPushButton* stop_ = nullptr;       // Command1(0) 中止
  QTimer timer_;                      // Timer1
  std::unique_ptr<ConversionRun> run_;
  bool working_ = false;  // inside the work loop
  bool open_log_viewer_ = false;
};

}  // namespace tsubakuro
