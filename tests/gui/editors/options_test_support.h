#pragma once

#include <QString>
#include <memory>

#include "gui/app/main_window.h"
#include "gui/shell/app_state.h"

class QAbstractButton;
class QWidget;

namespace tsubakuro::testing {

// One run of the desktop program on the current working folder: the shared state
// prepared as at start-up, and the main window. Closing it ends the run and writes
// "tbk.ini", as the user's 終了 does.
class ProgramRun {
 public:
  ProgramRun();
  ~ProgramRun();

  AppState& app() { return app_; }
  MainWindow& main_window() { return *main_window_; }

  // Triggers a menu item by its name ("システム設定M2") and returns the child
  // window it opened, found by its name, or nullptr.
  QWidget* open_from_menu(const QString& item, const QString& window);
  void close();

 private:
  AppState app_;
  std::unique_ptr<MainWindow> main_window_;
};

// Clicks a button where the user would: a check box or an option button on its
// indicator, since a box stretched across its frame does not take clicks beyond
// its caption.
void click_button_as_user(QAbstractButton* button);

// Types `text` into a focused text box the way an input method delivers it (QTest's
// key clicks know only Latin-1).
void type_text(QWidget* box, const QString& text);

// Lets pending events run, closed windows' deletion included.
void settle_events();

// Answers the next notice (確認メッセージ) with "OK" once it shows, and hands back its
// message through `message`, which must outlive the notice.
void answer_next_notice(QString* message);

}  // namespace tsubakuro::testing
