#pragma once

#include <QTimer>
#include <memory>

#include "gui/conversion/window_helpers.h"
#include "gui/shell/child_window.h"

class QProgressBar;
class QPushButton;

namespace tsubakuro {

class ConversionProcedure;
class ConversionRun;

// 変換中: performs one conversion of the current company and kind. The run does
// the work one input line per step; the window runs steps in short slices from
// its timer and returns to the event loop between them, which is how 中止 is
// heard, the window repaints, and any other window (a modal one included) can
// open without stopping the run.
class RunWindow : public ChildWindow {
  Q_OBJECT

 public:
  RunWindow(AppState& app, ConversionProcedure& procedure);
  ~RunWindow() override;

  // How long one slice of steps runs before the window returns to the event loop.
  static constexpr int kStepSliceMs = 10;

 signals:
  // The window has closed and no longer counts as open; the run ended with
  // field errors, for which the error log viewer opens.
  void run_closed(bool open_log_viewer);

 protected:
  void on_opened() override;
  void on_closing() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void work();
  void cancel();
  void show_progress();
  void tell_outcome();

  ConversionProcedure& procedure_;
  CompanyLabels labels_{};
  QProgressBar* progress_ = nullptr;  // ProgressBar1
  QPushButton* stop_ = nullptr;       // Command1(0) 中止
  QTimer timer_;                      // Timer1
  std::unique_ptr<ConversionRun> run_;
  bool open_log_viewer_ = false;
};

}  // namespace tsubakuro
