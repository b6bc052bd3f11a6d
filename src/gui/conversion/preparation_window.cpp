#include "gui/conversion/preparation_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/conversion/conversion_procedure.h"
#include "gui/conversion/window_helpers.h"
#include "gui/shell/message_dialogs.h"

namespace tsubakuro {

PreparationWindow::PreparationWindow(AppState& app, ConversionProcedure& procedure)
    : ChildWindow(app, WindowSlot::Conversion), procedure_(procedure) {
  setObjectName(QStringLiteral("Excel変換"));
  setWindowTitle(QStringLiteral("作業準備"));

  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(QStringLiteral("入力ファイルを確認しています。"), this);
  label_->setObjectName(QStringLiteral("Label1"));
  label_->setTextFormat(Qt::PlainText);
  label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(QString(24, QChar(0x3042))));
  label_->setWordWrap(true);
  layout->addWidget(label_);
  stop_ = new QPushButton(QStringLiteral("中止"), this);
  stop_->setObjectName(QStringLiteral("Command1(0)"));
  layout->addWidget(stop_, 0, Qt::AlignHCenter);

  timer_.setObjectName(QStringLiteral("Timer1"));
  timer_.setSingleShot(true);
  timer_.setInterval(1);
  connect(&timer_, &QTimer::timeout, this, &PreparationWindow::check_input);
  connect(stop_, &QPushButton::clicked, this, &PreparationWindow::stop);
}

PreparationWindow::~PreparationWindow() = default;

void PreparationWindow::on_opened() {
  close_child_window(app_, QStringLiteral("変換日付入力"));
  outcome_ = Outcome::Continue;
  running_ = true;
  timer_.start();
}

void PreparationWindow::check_input() {
  if (!running_) return;
  const QString input = procedure_.section().input_file;
  const Result<WorkbookRoute> route = procedure_.prepare();
  if (!route) {
    fail(route.message());
    return;
  }
  switch (*route) {
    case WorkbookRoute::PlainText:
      hand_over();
      return;
    case WorkbookRoute::ExportedByHand:
      show_notice(app_, windowTitle(), exported_by_hand_notice(input));
      if (running_) hand_over();
      return;
    case WorkbookRoute::Export:
      label_->setText(reading_workbook_notice(input));
      export_ = std::make_unique<WorkbookExport>(input);
      // The answer is taken from the event loop: the window may close on it, and the
      // suite's process must not be taken away while it is still reporting.
      export_->start([this](const Result<void>& result) {
        QTimer::singleShot(0, this, [this, result] { export_finished(result); });
      });
      return;
  }
}

void PreparationWindow::export_finished(const Result<void>& result) {
  if (!running_) return;
  if (result) {
    procedure_.set_workbook_export(*export_);
    if (const std::optional<WorkbookReader> reader = export_->read_by())
      label_->setText(workbook_read_by_notice(*reader));
    hand_over();
  } else if (result.cancelled()) {
    stop();
  } else {
    fail(result.message());
  }
}

void PreparationWindow::stop() {
  running_ = false;
  outcome_ = Outcome::Stopped;
  close();
}

void PreparationWindow::fail(const QString& message) {
  running_ = false;
  show_notice(app_, ConversionProcedure::kErrorTitle, message);
  outcome_ = Outcome::NotReady;
  close();
}

void PreparationWindow::hand_over() {
  ready_ = true;
  close();
}

void PreparationWindow::on_closing() {
  running_ = false;
  timer_.stop();
  // Stops a workbook conversion still at work (中止, or the program ending).
  export_.reset();
}

void PreparationWindow::closeEvent(QCloseEvent* event) {
  ChildWindow::closeEvent(event);
  // Only a finished check opens the run; the close box or the program ending do not.
  if (ready_ && outcome_ == Outcome::Continue) {
    ready_ = false;
    emit input_ready();
  }
}

}  // namespace tsubakuro
