#include "options_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "gui/app/dialog_driver.h"

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

void click_button_as_user(QAbstractButton* button) {
  ASSERT_NE(button, nullptr);
  QPoint where = button->rect().center();
  if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
    QStyleOptionButton option;
    option.initFrom(button);
    const auto indicator = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxIndicator
                                                            : QStyle::SE_RadioButtonIndicator;
    where = button->style()->subElementRect(indicator, &option, button).center();
  }
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

void type_text(QWidget* box, const QString& text) {
  box->setFocus();
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(box, &commit);
}

void settle_events() {
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void answer_next_notice(QString* message) {
  when_modal_shows([message](QWidget* notice) {
    EXPECT_EQ(notice->objectName(), QStringLiteral("確認メッセージ"));
    if (auto* label = notice->findChild<QLabel*>(QStringLiteral("Label1")))
      *message = label->text();
    click_button(notice, QStringLiteral("Command1(0)"));
  });
}

}  // namespace tsubakuro::testing
