#include "gui/shell/scrolling_content.h"

#include <QEvent>
#include <QScrollBar>

namespace tsubakuro {

ScrollingContent::ScrollingContent(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(content);
  content->installEventFilter(this);
}

void ScrollingContent::showEvent(QShowEvent* event) {
  QScrollArea::showEvent(event);
  // Shown before the window around it, which sizes itself from this hint.
  updateGeometry();
}

bool ScrollingContent::eventFilter(QObject* watched, QEvent* event) {
  // The content's wanted size changes as its labels and lists are filled; the
  // window around it must hear of it, or it opens at the size of the empty form.
  if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
  return QScrollArea::eventFilter(watched, event);
}

QSize ScrollingContent::sizeHint() const {
  const int frame = 2 * frameWidth();
  const QSize content = widget() ? widget()->sizeHint() : QSize();
  return content.expandedTo(QSize(0, 0)) + QSize(frame, frame);
}

QSize ScrollingContent::minimumSizeHint() const {
  // Room for both scroll bars and a little of the content between them.
  const int bar = verticalScrollBar()->sizeHint().width();
  return {4 * bar, 4 * bar};
}

}  // namespace tsubakuro
