#pragma once

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace tsubakuro::testing {

// The message dialogs and other modal windows run their own event loop; a test
// answers them from inside it. `act` runs once the next modal window is up.
inline void when_modal_shows(std::function<void(QWidget*)> act) {
  // A real timer, not a zero one: a zero timer is a posted event, and showing a
  // window may deliver posted events before the dialog's own loop is running.
  QTimer::singleShot(1, qApp, [act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr) << "no modal window is open";
    act(modal);
  });
}

// Clicks the button named `object_name` (e.g. "Command1(1)") in `window`.
inline void click_button(QWidget* window, const QString& object_name) {
  auto* button = window->findChild<QPushButton*>(object_name);
  ASSERT_NE(button, nullptr) << object_name.toStdString();
  QTest::mouseClick(button, Qt::LeftButton);
}

// Answers the next modal window by clicking one of its buttons.
inline void click_when_modal_shows(const QString& object_name) {
  when_modal_shows([object_name](QWidget* modal) { click_button(modal, object_name); });
}

}  // namespace tsubakuro::testing
