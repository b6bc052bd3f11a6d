#pragma once

#include <QObject>

#include "core/conversion/conversion_procedure.h"
#include "gui/shell/app_state.h"

namespace tsubakuro {

// The desktop program's 変換処理: one conversion walked from the date prompt
// through the preparation window and the run window to the error log viewer,
// each window handing over to the next through the flow. The flow owns the
// conversion's procedure, and with it the company's claim, for as long as one of
// its windows is open; it goes away with its last window.
class ConversionFlow : public QObject {
  Q_OBJECT

 public:
  // Opens the date prompt for the current company and transfer kind.
  static void start(AppState& app);

 private:
  enum class Stage { DatePrompt, Preparation, Run };

  explicit ConversionFlow(AppState& app);
  void open_date_prompt();
  void open_preparation();
  void open_run();
  void run_window_closed(bool open_log_viewer);
  // Ends the flow when the window of `stage` closes without handing over.
  void follow(QWidget* window, Stage stage);

  AppState& app_;
  ConversionProcedure procedure_;
  Stage stage_ = Stage::DatePrompt;
};

}  // namespace tsubakuro
