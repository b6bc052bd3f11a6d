#include "gui/shell/child_window.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QShowEvent>

#include "gui/shell/window_routine.h"

namespace tsubakuro {

ChildWindow::ChildWindow(AppState& app, WindowSlot slot, QWidget* parent)
    : QWidget(parent), app_(app), slot_(slot) {
  setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (opened_) return;  // shown again after its frame was restored from minimized
  opened_ = true;
  window_opened(app_, this, slot_);
  on_opened();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!opened_ || closed_) return;
  closed_ = true;
  on_closing();
  window_closed(app_, this, slot_);
  // The MDI frame stays behind when only the widget inside it closes.
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->close();
}

}  // namespace tsubakuro
