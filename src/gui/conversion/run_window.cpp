#include "gui/conversion/run_window.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/conversion/conversion_messages.h"
#include "core/conversion/conversion_procedure.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/window_host.h"

namespace tsubakuro {
namespace {

// QProgressBar counts in int and the input's size is counted in bytes.
constexpr int kProgressSteps = 1000;

}  // namespace

RunWindow::RunWindow(AppState& app, ConversionProcedure& procedure)
    : ChildWindow(app, WindowSlot::Conversion), procedure_(procedure) {
  setObjectName(QStringLiteral("変換中"));
  setWindowTitle(QStringLiteral("変換中"));

  auto* layout = new QVBoxLayout(this);
  labels_ = add_company_labels(this, layout);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setAccessibleName(QStringLiteral("進行状況"));
  progress_->setRange(0, kProgressSteps);
  progress_->setValue(0);
  progress_->setMinimumWidth(
      progress_->fontMetrics().horizontalAdvance(QString(20, QChar(0x3042))));
  layout->addWidget(progress_);
  stop_ = new QPushButton(QStringLiteral("中止"), this);
  stop_->setObjectName(QStringLiteral("Command1(0)"));
  layout->addWidget(stop_, 0, Qt::AlignHCenter);

  timer_.setObjectName(QStringLiteral("Timer1"));
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &RunWindow::work);
  connect(stop_, &QPushButton::clicked, this, &RunWindow::cancel);
}

RunWindow::~RunWindow() = default;

void RunWindow::on_opened() {
  close_child_window(app_, QStringLiteral("変換日付入力"));
  // The run takes its option snapshot now, as the window loads.
  run_ = procedure_.make_run();
  show_company_labels(labels_, procedure_);
  timer_.start();
}

void RunWindow::work() {
  QElapsedTimer slice;
  slice.start();
  // A step takes microseconds; returning to the event loop after every one of
  // them would cost more than the conversion.
  while (run_->running() && slice.elapsed() < kStepSliceMs) run_->step();
  show_progress();
  if (!run_->running()) close();
}

void RunWindow::cancel() {
  run_->cancel();
  close();
}

void RunWindow::show_progress() {
  const qint64 maximum = run_->progress_maximum();
  const qint64 value = maximum > 0 ? run_->progress_value() * kProgressSteps / maximum : 0;
  progress_->setValue(static_cast<int>(std::clamp<qint64>(value, 0, kProgressSteps)));
}

void RunWindow::closeEvent(QCloseEvent* event) {
  ChildWindow::closeEvent(event);
  if (!event->isAccepted()) return;
  const bool open_log_viewer = open_log_viewer_;
  open_log_viewer_ = false;
  emit run_closed(open_log_viewer);
}

void RunWindow::on_closing() {
  timer_.stop();
  if (!run_) return;
  // Closed from outside (its close box, or the program ending) while at work:
  // the run stops as for 中止.
  run_->cancel();
  tell_outcome();
  run_.reset();  // closes the input
}

void RunWindow::tell_outcome() {
  const Result<void>& result = run_->result();
  if (result) progress_->setValue(kProgressSteps);
  // The program ending takes the user's 終了 as the answer: no message stops it.
  if (app_.host == nullptr || app_.host->ending()) return;
  if (result.cancelled()) {
    show_notice(app_, QStringLiteral("取消し"),
                conversion_messages::cancelled() + u'\n' + conversion_messages::output_unchanged());
  } else if (!result) {
    show_notice(app_, ConversionProcedure::kErrorTitle, result.message());
  } else if (run_->has_errors()) {
    show_notice(app_, QStringLiteral("変換終了"), conversion_messages::finished_with_errors());
    open_log_viewer_ = true;
  } else {
    show_notice(app_, QStringLiteral("変換終了"), conversion_messages::finished());
  }
}

}  // namespace tsubakuro
