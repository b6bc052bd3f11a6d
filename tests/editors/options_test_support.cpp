#include "options_test_support.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tsubakuro::testing {

ProgramRun::ProgramRun() {
  init_field_dictionary(app_.system);
  load_system_settings(app_.system);
  main_window_ = std::make_unique<MainWindow>(app_);
  main_window_->show();
}

ProgramRun::~ProgramRun() { close(); }

QWidget* ProgramRun::open_from_menu(const QString& item, const QString& window) {
  auto* action = main_window_->findChild<QAction*>(item);
  if (!action || !action->isEnabled()) return nullptr;
  action->trigger();
  settle_events();
  return main_window_->findChild<QWidget*>(window);
}

void ProgramRun::close() {
  if (!main_window_) return;
  main_window_->close();
  main_window_.reset();
  settle_events();
}

void settle_events() {
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

void answer_notice_when_shown(QString* message, int attempts_left) {
  QTimer::singleShot(10, [message, attempts_left] {
    QWidget* notice = QApplication::activeModalWidget();
    if (!notice || notice->objectName() != QStringLiteral("確認メッセージ")) {
      if (attempts_left > 0) answer_notice_when_shown(message, attempts_left - 1);
      return;
    }
    if (auto* label = notice->findChild<QLabel*>(QStringLiteral("Label1")))
      *message = label->text();
    if (auto* ok = notice->findChild<QPushButton*>(QStringLiteral("Command1(0)"))) ok->click();
  });
}

}  // namespace

void answer_next_notice(QString* message) { answer_notice_when_shown(message, 100); }

}  // namespace tsubakuro::testing
