#pragma once

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>
#include <memory>

#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "gui/app/main_window.h"
#include "test_support.h"

namespace tsubakuro::testing {

// A fresh working folder and a shown main window: the windows under test open
// inside it, exactly as the menus open them.
class EditorsTest : public ::testing::Test {
 protected:
  EditorsTest() {
    init_field_dictionary(app_.system);
    main_ = std::make_unique<MainWindow>(app_);
    main_->show();
  }

  // The open window named `name`, or null when none is open.
  QWidget* open_window(const QString& name) const {
    for (QWidget* window : main_->findChildren<QWidget*>(name)) {
      if (window->isVisible()) return window;
    }
    return nullptr;
  }

  template <typename Control>
  static Control* control(QWidget* window, const QString& name) {
    auto* found = window != nullptr ? window->findChild<Control*>(name) : nullptr;
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }

  // Clicks a button; check boxes and option buttons on their box, since a click
  // beside a caption that is narrower than the control does nothing.
  static void click(QWidget* window, const QString& button) {
    auto* found = control<QAbstractButton>(window, button);
    if (found == nullptr) return;
    const bool boxed = found->isCheckable();
    QTest::mouseClick(found, Qt::LeftButton, {},
                      boxed ? QPoint(8, found->height() / 2) : found->rect().center());
  }

  static void save_company(const QString& name, const CompanySettings& settings) {
    const Result<void> result = save_company_settings(name, settings);
    ASSERT_TRUE(result.ok()) << result.message().toStdString();
  }

  static CompanySettings company_using(bool credit, bool debit) {
    CompanySettings settings;
    settings.credit.enabled = credit ? 1 : 0;
    settings.debit.enabled = debit ? 1 : 0;
    return settings;
  }

  // Lets closed windows go, so that a window opened next is the only one of its name.
  static void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

  ScopedWorkingDir dir_;
  AppState app_;
  std::unique_ptr<MainWindow> main_;
};

}  // namespace tsubakuro::testing
