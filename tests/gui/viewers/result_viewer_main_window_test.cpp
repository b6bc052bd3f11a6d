#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>

#include "gui/app/main_window.h"
#include "gui/shell/child_window.h"
#include "gui/shell/twips.h"
#include "gui/viewers/result_viewer.h"
#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

int px(int twips) { return twips_to_pixels(twips, logical_dpi()); }
int tw(int pixels) { return pixels_to_twips(pixels, logical_dpi()); }
constexpr int kSlot = static_cast<int>(WindowSlot::ResultViewer);

// The result viewer as the user reaches it: from the main window's menu, inside
// its MDI area.
class ResultViewerInMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::set_up_company(app_);
    testing::write_file("zengin.dat", testing::credit_bank_file(60));
    main_ = new MainWindow(app_);
    main_->resize(px(16000), px(11000));
    main_->show();
  }
  void TearDown() override { delete main_; }

  QMdiSubWindow* open_from_menu() {
    main_->findChild<QAction*>(QStringLiteral("変換結果M2"))->trigger();
    QMdiSubWindow* frame = nullptr;
    for (QMdiSubWindow* candidate : main_->mdi_area()->subWindowList()) {
      if (qobject_cast<ResultViewer*>(candidate->widget())) frame = candidate;
    }
    if (frame) {
      auto* viewer = static_cast<ResultViewer*>(frame->widget());
      EXPECT_TRUE(testing::run_events_until([viewer] { return !viewer->loading(); }, 10000));
    }
    return frame;
  }

  testing::ScopedWorkingDir dir_;
  AppState app_;
  testing::NoticeCatcher notices_;
  MainWindow* main_ = nullptr;
};

TEST_F(ResultViewerInMainWindow, OpensFromTheMenuAndBlocksItselfWhileOpen) {
  auto* item = main_->findChild<QAction*>(QStringLiteral("変換結果M2"));
  ASSERT_TRUE(item->isEnabled());
  QMdiSubWindow* frame = open_from_menu();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("変換結果　東京(振込)"));
  EXPECT_FALSE(item->isEnabled());
  EXPECT_FALSE(main_->findChild<QAction*>(QStringLiteral("変換処理M2"))->isEnabled());
  const auto* data = frame->widget()->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(1)"));
  EXPECT_EQ(testing::grid_rows(data), 61);
  EXPECT_TRUE(notices_.notices().isEmpty());

  frame->close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(item->isEnabled());
  EXPECT_EQ(app_.open_windows.count(WindowSlot::ResultViewer), 0);
}

TEST_F(ResultViewerInMainWindow, ClosedMaximizedReopensMaximizedWithItsNormalSize) {
  app_.system.window_top[kSlot] = 300;
  app_.system.window_left[kSlot] = 450;
  app_.system.window_height[kSlot] = 6000;
  app_.system.window_width[kSlot] = 9000;
  QMdiSubWindow* frame = open_from_menu();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->size(), QSize(px(9000), px(6000)));
  frame->showMaximized();
  frame->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(app_.system.window_height[kSlot], -tw(px(6000)));
  EXPECT_EQ(app_.system.window_width[kSlot], -tw(px(9000)));

  frame = open_from_menu();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isMaximized());
  // The grids fill the maximized window.
  const auto* header = frame->widget()->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(0)"));
  EXPECT_EQ(header->width(), frame->width() - px(340));
  frame->showNormal();
  EXPECT_EQ(frame->size(), QSize(px(9000), px(6000)));
}

// No saved size: not the bare minimum of 200 x 280 px, but what the grids need,
// as far as the work area allows.
TEST_F(ResultViewerInMainWindow, NoSavedSizeOpensLargeEnoughForTheGrids) {
  QMdiSubWindow* frame = open_from_menu();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->pos(), QPoint(0, 0));
  EXPECT_GT(frame->width(), px(3000));
  EXPECT_GT(frame->height(), px(4200));
}

TEST_F(ResultViewerInMainWindow, ArrangedBesideTheLogViewerItsGridsFollow) {
  class LogViewerStandIn : public ChildWindow {
   public:
    explicit LogViewerStandIn(AppState& app) : ChildWindow(app, WindowSlot::LogViewer) {
      setObjectName(QStringLiteral("エラーログ"));
    }
  };
  QMdiSubWindow* result = open_from_menu();
  ASSERT_NE(result, nullptr);
  QMdiSubWindow* log = main_->show_child(new LogViewerStandIn(app_));
  result->showMinimized();
  main_->findChild<QAction*>(QStringLiteral("並べて表示M2"))->trigger();
  QCoreApplication::processEvents();

  const QSize inner = main_->mdi_area()->viewport()->size();
  EXPECT_FALSE(result->isMinimized());
  EXPECT_EQ(result->pos(), QPoint(0, 0));
  EXPECT_EQ(result->height(), inner.height());
  EXPECT_NEAR(result->width(), inner.width() * 0.7, 2);
  EXPECT_NEAR(log->x(), result->width(), 2);
  const QWidget* viewer = result->widget();
  const auto* data = viewer->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(1)"));
  const auto* end = viewer->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(3)"));
  EXPECT_EQ(data->width(), result->width() - px(340));
  EXPECT_EQ(end->geometry().bottom() + 1, viewer->height() - px(170));
}

}  // namespace
}  // namespace tsubakuro
