#pragma once

#include <QScrollArea>

namespace tsubakuro {

// The part of a window that scrolls when the main window's work area is too
// small for it, so that the buttons kept outside it stay in sight. Unlike a
// plain QScrollArea it asks for the room its content needs, so a window that
// fits opens showing everything, without scroll bars.
class ScrollingContent : public QScrollArea {
  Q_OBJECT

 public:
  explicit ScrollingContent(QWidget* content, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tsubakuro
