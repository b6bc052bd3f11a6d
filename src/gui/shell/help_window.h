#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace tsubakuro {

// The program's manual in a window of its own beside the main window. The
// manual is compiled into the program, so help works in any working folder and
// without a browser; links to outside pages open in the desktop's browser.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(const QUrl& manual, QWidget* parent = nullptr);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace tsubakuro
