#pragma once

#include <memory>

#include "gui/shell/child_window.h"

class QPlainTextEdit;
class QTimer;

namespace tsubakuro {

class LogEntryReader;

// エラーログ: the current company's error log of its last run. It reads the log
// a few entries per timer tick so the window is usable at once, and gives up
// after a screenful of portions: a log that long means the settings are wrong,
// and the first errors say how.
class LogViewer : public ChildWindow {
  Q_OBJECT

 public:
  static constexpr int kEntriesPerPortion = 21;
  static constexpr int kPortionLimit = 14;

  explicit LogViewer(AppState& app, QWidget* parent = nullptr);
  ~LogViewer() override;

  // The size a first opening takes (the work area permitting).
  QSize sizeHint() const override;

 protected:
  void on_opened() override;
  void on_closing() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void tick();
  void read_portion();
  void append(const QString& text);

  QPlainTextEdit* text_ = nullptr;  // Text1
  QTimer* timer_ = nullptr;         // Timer1
  std::unique_ptr<LogEntryReader> reader_;
  int read_counter_ = 0;
  bool reading_ = false;
};

}  // namespace tsubakuro
