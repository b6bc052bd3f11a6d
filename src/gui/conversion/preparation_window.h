#pragma once

#include <QTimer>
#include <memory>

#include "core/text/result.h"
#include "gui/shell/child_window.h"

class QLabel;
class QPushButton;

namespace tsubakuro {

class ConversionProcedure;
class WorkbookExport;

// Excel変換 ("作業準備"): between the date prompt and the run. Checks the input
// and output files and, for a workbook, has the office suite turn its first
// worksheet into "tbk.tmp"; only when all is ready does it say input_ready, as
// it closes.
class PreparationWindow : public ChildWindow {
  Q_OBJECT

 public:
  PreparationWindow(AppState& app, ConversionProcedure& procedure);
  ~PreparationWindow() override;

 signals:
  void input_ready();

 protected:
  void on_opened() override;
  void on_closing() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Outcome { Continue = 0, Stopped = 1, NotReady = 2 };

  void check_input();
  void export_finished(const Result<void>& result);
  void stop();
  void fail(const QString& message);
  void hand_over();

  ConversionProcedure& procedure_;
  QLabel* label_ = nullptr;      // Label1
  QPushButton* stop_ = nullptr;  // Command1(0) 中止
  QTimer timer_;                 // Timer1
  std::unique_ptr<WorkbookExport> export_;
  bool running_ = false;
  Outcome outcome_ = Outcome::Continue;
  bool ready_ = false;
};

}  // namespace tsubakuro
