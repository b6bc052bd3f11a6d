#include "gui/viewers/log_viewer.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include "core/log/log_entry_reader.h"
#include "core/settings/company_name.h"
#include "gui/shell/fixed_font.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_routine.h"

namespace tsubakuro {

namespace {

// What a first opening shows: the longest lines a conversion writes (a field
// error names the row, the field and the reason) and a screenful of them.
constexpr int kFirstColumns = 100;
constexpr int kFirstLines = 30;
// The counter steps by 20 a tick and the reading stops once it reaches 300,
// which is what limits the window to 14 portions.
constexpr int kCounterStep = 20;
constexpr int kCounterLimit = kCounterStep * (LogViewer::kPortionLimit + 1);

}  // namespace

LogViewer::LogViewer(AppState& app, QWidget* parent)
    : ChildWindow(app, WindowSlot::LogViewer, parent) {
  setObjectName(QStringLiteral("エラーログ"));
  setWindowTitle(QStringLiteral("エラーログ"));

  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("Text1"));
  text_->setAccessibleName(QStringLiteral("エラーログ"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(fixed_pitch_font(9));
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setInterval(1);
  connect(timer_, &QTimer::timeout, this, &LogViewer::tick);
}

LogViewer::~LogViewer() = default;

void LogViewer::on_opened() {
  read_counter_ = 0;
  const Result<QString> file_name = company_log_file(app_.system.current_company);
  if (!file_name || !QFileInfo::exists(*file_name)) {
    text_->setPlainText(QStringLiteral("ログが存在しません。"));
    return;
  }
  reader_ = std::make_unique<LogEntryReader>(*file_name);
  if (const Result<void> opened = reader_->open(); !opened) {
    text_->setPlainText(opened.message());
    reader_.reset();
    return;
  }
  timer_->start();
}

void LogViewer::on_closing() {
  timer_->stop();
  reader_.reset();
}

void LogViewer::tick() {
  if (reading_) return;
  reading_ = true;
  read_counter_ += kCounterStep;
  if (read_counter_ < kCounterLimit) {
    read_portion();
  } else {
    append(QStringLiteral("エラー件数が多いため以下省略\n"));
    timer_->stop();
  }
}

void LogViewer::read_portion() {
  QString portion;
  for (int i = 0; i < kEntriesPerPortion; ++i) {
    if (reader_->at_end()) {
      timer_->stop();
      break;
    }
    portion += reader_->read_entry();
    portion += u'\n';
  }
  if (!portion.isEmpty()) append(portion);
  reading_ = false;
}

void LogViewer::append(const QString& text) {
  // Appending must not move the view the user may be reading.
  const int vertical = text_->verticalScrollBar()->value();
  const int horizontal = text_->horizontalScrollBar()->value();
  QTextCursor end(text_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(text);
  text_->verticalScrollBar()->setValue(vertical);
  text_->horizontalScrollBar()->setValue(horizontal);
}

QSize LogViewer::sizeHint() const {
  const QFontMetrics metrics(text_->font());
  const int bar = text_->verticalScrollBar()->sizeHint().width();
  const int frame =
      2 * text_->frameWidth() + 2 * static_cast<int>(text_->document()->documentMargin());
  return {metrics.horizontalAdvance(QString(kFirstColumns, QChar(u'0'))) + bar + frame,
          metrics.lineSpacing() * kFirstLines + bar + frame};
}

void LogViewer::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  QWidget* frame = window_frame(this);
  if (frame->isMinimized()) return;
  if (app_.host) app_.host->enforce_main_minimum();
  if (!frame->isMaximized() && frame != this) {
    const double dpi = logical_dpi(frame);
    const QSize minimum_twips = minimum_size_twips(WindowSlot::LogViewer);
    const QSize minimum(twips_to_pixels(minimum_twips.width(), dpi),
                        twips_to_pixels(minimum_twips.height(), dpi));
    if (frame->width() < minimum.width() || frame->height() < minimum.height()) {
      frame->resize(frame->size().expandedTo(minimum));
    }
  }
  reading_ = false;
}

}  // namespace tsubakuro
