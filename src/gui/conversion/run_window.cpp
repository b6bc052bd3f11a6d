#include "gui/conversion/run_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/engine/conversion_run.h"

namespace tsubakuro {
namespace {

// QProgressBar counts in int and the input's size is counted in bytes.
constexpr int kProgressSteps = 1000;

}  // namespace

RunWindow::RunWindow(AppState& app) : ChildWindow(app, WindowSlot::Conversion), notifier_(app) {
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
  timer_.setSingleShot(true);
  timer_.setInterval(1);
  connect(&timer_, &QTimer::timeout, this, &RunWindow::work);
  connect(stop_, &QPushButton::clicked, this, &RunWindow::cancel);
}

RunWindow::~RunWindow() = default;

void RunWindow::on_opened() {
  close_child_window(app_, QStringLiteral("変換日付入力"));
  // The run takes its option snapshot now, as the window loads.
  run_ = std::make_unique<ConversionRun>(app_.system, app_.company, notifier_);
  show_company_labels(labels_, app_);
  timer_.start();
}

void RunWindow::work() {
  working_ = true;
  QElapsedTimer slice;
  slice.start();
  while (run_->running()) {
    run_->step();
    // A step takes microseconds; letting events run after every one of them would
    // cost more than the conversion. Every few milliseconds keeps 中止 and the
    // repaints as prompt as the eye can tell.
    if (slice.elapsed() >= kStepSliceMs) {
      show_progress();
      QCoreApplication::processEvents();
      slice.restart();
    }
  }
  working_ = false;
  close();
}

void RunWindow::cancel() {
  run_->cancel();
  // Inside the work loop the loop sees the run stopped and closes the window.
  if (!working_) close();
}

void RunWindow::show_progress() {
  const qint64 maximum = run_->progress_maximum();
  const qint64 value = maximum > 0 ? run_->progress_value() * kProgressSteps / maximum : 0;
  progress_->setValue(static_cast<int>(std::clamp<qint64>(value, 0, kProgressSteps)));
}

void RunWindow::closeEvent(QCloseEvent* event) {
  if (working_) {
    // Closed from outside while a step sequence is under way: stop the run and let
    // the loop close the window when it comes back.
    run_->cancel();
    event->ignore();
    return;
  }
  ChildWindow::closeEvent(event);
  // The viewer opens once this window no longer counts as open, since a viewer is
  // not allowed beside a running conversion.
  if (open_log_viewer_ && app_.host != nullptr) {
    open_log_viewer_ = false;
    app_.host->open_log_viewer();
  }
}

void RunWindow::on_closing() {
  timer_.stop();
  if (!run_) return;
  run_->cancel();  // nothing to do unless the window closes before the run has ended
  const RunOutcome outcome = run_->outcome();
  const bool has_errors = run_->has_errors();
  if (outcome == RunOutcome::Normal) progress_->setValue(kProgressSteps);
  run_.reset();  // closes the input and the output
  switch (outcome) {
    case RunOutcome::Normal:
      if (has_errors) {
        show_notice(app_, QStringLiteral("変換終了"), QStringLiteral("変換エラーがあります。"));
        open_log_viewer_ = true;
      } else {
        show_notice(app_, QStringLiteral("変換終了"), QStringLiteral("変換が終了しました。"));
      }
      break;
    case RunOutcome::Cancelled:
      show_notice(app_, QStringLiteral("取消し"), QStringLiteral("変換をキャンセルされました。"));
      break;
    case RunOutcome::NotRun:
      break;  // the run has shown its own message
  }
}

}  // namespace tsubakuro
