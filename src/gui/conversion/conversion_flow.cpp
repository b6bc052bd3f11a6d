#include "gui/conversion/conversion_flow.h"

#include "gui/conversion/date_prompt.h"
#include "gui/conversion/preparation_window.h"
#include "gui/conversion/run_window.h"
#include "gui/conversion/window_helpers.h"
#include "gui/shell/window_host.h"

namespace tsubakuro {

void ConversionFlow::start(AppState& app) {
  // Parented to the main window, so a flow still open when the program ends
  // goes with it.
  auto* flow = new ConversionFlow(app);
  flow->open_date_prompt();
}

ConversionFlow::ConversionFlow(AppState& app)
    : QObject(app.host != nullptr ? app.host->host_widget() : nullptr),
      app_(app),
      procedure_(app.system) {}

void ConversionFlow::follow(QWidget* window, Stage stage) {
  connect(window, &QObject::destroyed, this, [this, stage] {
    if (stage_ != stage) return;
    // The flow itself goes later, with the next turn of the event loop; the
    // company must be free for the next conversion now.
    procedure_.release();
    deleteLater();
  });
}

void ConversionFlow::open_date_prompt() {
  auto* prompt = new DatePrompt(app_, procedure_);
  follow(prompt, Stage::DatePrompt);
  connect(prompt, &DatePrompt::date_stored, this, &ConversionFlow::open_preparation);
  show_conversion_window(app_, prompt);
}

void ConversionFlow::open_preparation() {
  stage_ = Stage::Preparation;
  auto* preparation = new PreparationWindow(app_, procedure_);
  follow(preparation, Stage::Preparation);
  connect(preparation, &PreparationWindow::input_ready, this, &ConversionFlow::open_run);
  show_conversion_window(app_, preparation);
}

void ConversionFlow::open_run() {
  if (app_.host == nullptr) return;
  stage_ = Stage::Run;
  auto* run = new RunWindow(app_, procedure_);
  follow(run, Stage::Run);
  connect(run, &RunWindow::run_closed, this, &ConversionFlow::run_window_closed);
  show_conversion_window(app_, run);
}

void ConversionFlow::run_window_closed(bool open_log_viewer) {
  // The viewer opens once the run window no longer counts as open, since a
  // viewer is not allowed beside a running conversion.
  if (open_log_viewer && app_.host != nullptr) app_.host->open_log_viewer();
}

}  // namespace tsubakuro
