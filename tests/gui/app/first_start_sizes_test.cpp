// Every window as a new user first meets it: nothing saved in tbk.ini. These
// tests run on an 800×600 screen and again on a 1920×1080 one (tests/CMakeLists).

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "core/settings/system_settings.h"
#include "gui/app/dialog_driver.h"
#include "gui/app/main_window.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_routine.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

int px(int twips) { return twips_to_pixels(twips, logical_dpi()); }

QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// `inner` lies wholly inside `outer`.
::testing::AssertionResult lies_within(const QRect& inner, const QRect& outer) {
  if (outer.contains(inner)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << inner.x() << "," << inner.y() << " " << inner.width() << "x" << inner.height()
         << " is not inside " << outer.x() << "," << outer.y() << " " << outer.width() << "x"
         << outer.height();
}

class FirstStart : public ::testing::Test {
 protected:
  FirstStart() {
    init_field_dictionary(app_.system);
    main_ = std::make_unique<MainWindow>(app_);
    main_->show();
  }

  QRect work_area() const { return main_->mdi_area()->viewport()->rect(); }

  QMdiSubWindow* open_from_menu(const char* item, const char* window) {
    main_->findChild<QAction*>(QString::fromUtf8(item))->trigger();
    QCoreApplication::processEvents();
    return main_->child_frame(QString::fromUtf8(window));
  }

  // The frame lies in the work area, and so do `buttons` of the window in it:
  // the user can reach them without moving or scrolling anything.
  void expect_reachable(QMdiSubWindow* frame, const QStringList& buttons) {
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(lies_within(frame->geometry(), work_area())) << frame->objectName().toStdString();
    for (const QString& name : buttons) {
      auto* button = frame->widget()->findChild<QPushButton*>(name);
      ASSERT_NE(button, nullptr) << name.toStdString();
      const QRect shown(button->mapTo(main_->mdi_area()->viewport(), QPoint(0, 0)), button->size());
      EXPECT_TRUE(lies_within(shown, work_area())) << name.toStdString();
      EXPECT_TRUE(button->isVisible());
    }
  }

  testing::ScopedWorkingDir dir_;
  AppState app_;
  std::unique_ptr<MainWindow> main_;
};

TEST(FirstStartMainSize, Is1024By768OrNinePartsInTenOfASmallerScreen) {
  EXPECT_EQ(first_start_main_size(QSize(800, 600)), QSize(720, 540));
  EXPECT_EQ(first_start_main_size(QSize(1920, 1080)), QSize(1024, 768));
  EXPECT_EQ(first_start_main_size(QSize(1280, 800)), QSize(1024, 720));
}

TEST_F(FirstStart, TheMainWindowOpensCentredAtItsFirstSizeWithTheWholeToolbar) {
  const QRect screen = available();
  const QSize expected = first_start_main_size(screen.size());
  EXPECT_EQ(main_->size(), expected);
  // Within the window frame's own margins.
  EXPECT_NEAR(main_->geometry().center().x(), screen.center().x(), 8);
  EXPECT_NEAR(main_->geometry().center().y(), screen.center().y(), 8);

  auto* toolbar = main_->findChild<QToolBar*>(QStringLiteral("Picture1"));
  for (int i = 0; i < 5; ++i) {
    auto* button = toolbar->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(i));
    EXPECT_TRUE(button->isVisible()) << i;
    EXPECT_TRUE(lies_within(button->geometry(), toolbar->rect())) << i;
  }
  auto* more = toolbar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"));
  EXPECT_TRUE(more == nullptr || !more->isVisible()) << "no button hides behind »";
}

TEST_F(FirstStart, ASavedMainWindowSizeIsKeptButOneBelowTheMinimumCountsAsNone) {
  const int slot = static_cast<int>(WindowSlot::Main);
  app_.system.window_width[slot] = 6000;
  app_.system.window_height[slot] = 5000;
  MainWindow saved(app_);
  EXPECT_EQ(saved.size(), QSize(px(6000), px(5000)));

  app_.system.window_width[slot] = 3000;
  MainWindow damaged(app_);
  EXPECT_EQ(damaged.size(), first_start_main_size(available().size()));
}

TEST_F(FirstStart, SettingsWindowsFitTheWorkAreaWithTheirButtonsInSight) {
  const struct {
    const char* item;
    const char* window;
    QStringList buttons;
  } windows[] = {
      {"システム設定M2", "システム設定", {"Command1(1)", "Command1(0)"}},
      {"オプションM2", "オプション", {"Command1(1)", "Command1(0)", "Command1(2)"}},
      {"切替M2", "切替", {"Command1(1)", "Command1(0)"}},
      {"環境設定M2", "環境設定切替", {"Command1(1)", "Command1(2)", "Command1(0)"}},
  };
  for (const auto& w : windows) {
    QMdiSubWindow* frame = open_from_menu(w.item, w.window);
    expect_reachable(frame, w.buttons);
    // Where the whole window fits, all of it shows; where not, it fills the
    // work area's height or width and scrolls inside.
    const QSize wanted = frame->sizeHint();
    EXPECT_EQ(frame->size(), wanted.boundedTo(work_area().size())) << w.window;
    frame->close();
    QCoreApplication::processEvents();
  }

  // 環境設定 itself, opened from the picker for a new company.
  QMdiSubWindow* picker = open_from_menu("環境設定M2", "環境設定切替");
  auto* new_button = picker->widget()->findChild<QPushButton*>(QStringLiteral("Command1(1)"));
  QTest::mouseClick(new_button, Qt::LeftButton);
  QCoreApplication::processEvents();
  QMdiSubWindow* editor = main_->child_frame(QStringLiteral("環境設定"));
  expect_reachable(editor, {QStringLiteral("Command2(1)"), QStringLiteral("Command2(0)")});
  ASSERT_NE(editor->widget()->findChild<QScrollArea*>(), nullptr) << "what does not fit scrolls";
}

TEST_F(FirstStart, ChildWindowsSavedOutsideTheWorkAreaAreBroughtBackIntoIt) {
  const int slot = static_cast<int>(WindowSlot::SystemSettings);
  app_.system.window_left[slot] = 40000;
  app_.system.window_top[slot] = 30000;
  QMdiSubWindow* frame = open_from_menu("システム設定M2", "システム設定");
  expect_reachable(frame, {QStringLiteral("Command1(1)")});
}

TEST_F(FirstStart, TheViewersOpenLargeEnoughForTheirContent) {
  app_.system.current_company = QStringLiteral("東京");
  main_->refresh_main_menus();

  QMdiSubWindow* log = open_from_menu("エラーログ表示M2", "エラーログ");
  expect_reachable(log, {});
  const QSize log_wanted = log->sizeHint().boundedTo(work_area().size());
  EXPECT_EQ(log->size(), log_wanted);
  EXPECT_GE(log->width(), qMin(px(8000), work_area().width())) << "far above its 117 px minimum";
  log->close();

  // No settings file and no bank file: both are told, and answered.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (QWidget* notice = QApplication::activeModalWidget())
      testing::click_button(notice, QStringLiteral("Command1(0)"));
  });
  answer.start(5);
  QMdiSubWindow* result = open_from_menu("変換結果M2", "変換結果");
  expect_reachable(result, {});
  EXPECT_EQ(result->size(), result->sizeHint().boundedTo(work_area().size()));
  EXPECT_GE(result->width(), qMin(px(13000), work_area().width()));

  // Every heading shows whole, in the grid's font, and in a tooltip as well.
  for (QTableView* grid : result->widget()->findChildren<QTableView*>()) {
    QHeaderView* header = grid->horizontalHeader();
    const QFontMetrics metrics(header->font());
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
      const QString heading = grid->model()->headerData(c, Qt::Horizontal).toString();
      EXPECT_GT(grid->columnWidth(c), metrics.horizontalAdvance(heading)) << heading.toStdString();
      EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString(), heading);
    }
  }
}

TEST_F(FirstStart, AMessageWithoutASavedPlaceIsCentredOverTheMainWindow) {
  main_->move(available().topLeft() + QPoint(30, 20));
  QRect shown;
  testing::when_modal_shows([&shown](QWidget* notice) {
    shown = notice->frameGeometry();
    testing::click_button(notice, QStringLiteral("Command1(0)"));
  });
  show_notice(app_, QStringLiteral("エラー"), QStringLiteral("出力ファイルが存在しません"));
  const QPoint centre = main_->frameGeometry().center();
  EXPECT_NEAR(shown.center().x(), centre.x(), 2);
  EXPECT_NEAR(shown.center().y(), centre.y(), 2);

  // Once moved, a message keeps the place the user gave it.
  const int slot = static_cast<int>(WindowSlot::Message);
  app_.system.window_left[slot] = 300;
  app_.system.window_top[slot] = 450;
  testing::when_modal_shows([&shown](QWidget* notice) {
    shown = notice->frameGeometry();
    testing::click_button(notice, QStringLiteral("Command1(0)"));
  });
  show_notice(app_, QStringLiteral("エラー"), QStringLiteral("出力ファイルが存在しません"));
  EXPECT_EQ(shown.topLeft(), QPoint(px(300), px(450)));
}

}  // namespace
}  // namespace tsubakuro
