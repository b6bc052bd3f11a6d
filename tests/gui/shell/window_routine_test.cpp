#include "gui/shell/window_routine.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>

#include "gui/app/main_window.h"
#include "gui/shell/child_window.h"
#include "gui/shell/twips.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

int px(int twips) { return twips_to_pixels(twips, logical_dpi()); }
int tw(int pixels) { return pixels_to_twips(pixels, logical_dpi()); }
int index_of(WindowSlot slot) { return static_cast<int>(slot); }

class SampleChild : public ChildWindow {
 public:
  SampleChild(AppState& app, WindowSlot slot, const QString& name) : ChildWindow(app, slot) {
    setObjectName(name);
    setWindowTitle(name);
    resize(200, 150);
  }
};

class WindowRoutine : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = new MainWindow(app_);
    main_->resize(1000, 700);
    main_->show();
  }
  void TearDown() override { delete main_; }

  QMdiSubWindow* open(WindowSlot slot, const QString& name) {
    return main_->show_child(new SampleChild(app_, slot, name));
  }

  testing::ScopedWorkingDir dir_;  // closing the main window writes tbk.ini
  AppState app_;
  MainWindow* main_ = nullptr;
};

TEST_F(WindowRoutine, ReopensWhereItWasLeftAndFreesTheMenusAfterEachClose) {
  const int slot = index_of(WindowSlot::SystemSettings);
  app_.system.window_top[slot] = 300;
  app_.system.window_left[slot] = 450;
  auto* item = main_->findChild<QAction*>(QStringLiteral("オプションM2"));

  QPointer<QMdiSubWindow> frame = open(WindowSlot::SystemSettings, QStringLiteral("システム設定"));
  EXPECT_EQ(frame->pos(), QPoint(px(450), px(300)));
  EXPECT_EQ(app_.open_windows.count(WindowSlot::SystemSettings), 1);
  EXPECT_FALSE(item->isEnabled());
  frame->move(px(1200), px(600));
  frame->widget()->close();
  EXPECT_EQ(app_.open_windows.count(WindowSlot::SystemSettings), 0);
  EXPECT_TRUE(item->isEnabled());
  EXPECT_EQ(app_.system.window_left[slot], tw(px(1200)));
  EXPECT_EQ(app_.system.window_top[slot], tw(px(600)));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(frame.isNull()) << "the frame goes with its window";

  frame = open(WindowSlot::SystemSettings, QStringLiteral("システム設定"));
  EXPECT_EQ(frame->pos(), QPoint(px(1200), px(600)));
  frame->close();  // through the frame's own close box this time
  EXPECT_EQ(app_.open_windows.count(WindowSlot::SystemSettings), 0);
  EXPECT_TRUE(item->isEnabled());
}

TEST_F(WindowRoutine, PullsAWindowBackOnScreenRightAndBottomFirst) {
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  QWidget window;
  window.resize(300, 200);
  window.move(screen.width() - 100, screen.height() - 50);
  keep_on_screen(&window);
  EXPECT_EQ(window.pos(), QPoint(screen.width() - 300, screen.height() - 200));

  window.move(-40, -30);
  keep_on_screen(&window);
  EXPECT_EQ(window.pos(), QPoint(0, 0));

  // Larger than the screen: the left and top edges win.
  window.resize(screen.width() + 50, screen.height() + 60);
  window.move(20, 10);
  keep_on_screen(&window);
  EXPECT_EQ(window.pos(), QPoint(0, 0));
}

TEST_F(WindowRoutine, AWindowClosedMinimizedKeepsThePlaceItWouldBeRestoredTo) {
  const int slot = index_of(WindowSlot::CompanySwitch);
  QMdiSubWindow* frame = open(WindowSlot::CompanySwitch, QStringLiteral("切替"));
  frame->move(px(900), px(600));
  const QSize normal = frame->size();
  frame->showMinimized();
  frame->widget()->close();
  EXPECT_EQ(app_.system.window_left[slot], tw(px(900)));
  EXPECT_EQ(app_.system.window_top[slot], tw(px(600)));
  EXPECT_EQ(app_.system.window_width[slot], tw(normal.width()));
}

TEST_F(WindowRoutine, ConversionWindowsStoreOnlyTheirPlace) {
  const int slot = index_of(WindowSlot::Conversion);
  app_.system.window_height[slot] = 1234;
  app_.system.window_width[slot] = 5678;
  QMdiSubWindow* frame = open(WindowSlot::Conversion, QStringLiteral("変換中"));
  frame->move(px(150), px(300));
  frame->widget()->close();
  EXPECT_EQ(app_.system.window_left[slot], tw(px(150)));
  EXPECT_EQ(app_.system.window_top[slot], tw(px(300)));
  EXPECT_EQ(app_.system.window_height[slot], 1234);
  EXPECT_EQ(app_.system.window_width[slot], 5678);
}

TEST_F(WindowRoutine, AViewerClosedMaximizedReopensMaximizedAtItsNormalSize) {
  const int slot = index_of(WindowSlot::ResultViewer);
  app_.system.window_height[slot] = 4500;
  app_.system.window_width[slot] = 6000;
  QMdiSubWindow* frame = open(WindowSlot::ResultViewer, QStringLiteral("変換結果"));
  EXPECT_EQ(frame->size(), QSize(px(6000), px(4500)));
  frame->showMaximized();
  frame->widget()->close();
  EXPECT_EQ(app_.system.window_height[slot], -4500);
  EXPECT_EQ(app_.system.window_width[slot], -6000);

  frame = open(WindowSlot::ResultViewer, QStringLiteral("変換結果"));
  EXPECT_TRUE(frame->isMaximized());
  frame->showNormal();
  EXPECT_EQ(frame->size(), QSize(px(6000), px(4500)));
}

TEST_F(WindowRoutine, ClosingTheMainWindowClosesItsChildrenFirst) {
  QMdiSubWindow* frame = open(WindowSlot::LogViewer, QStringLiteral("エラーログ"));
  frame->setGeometry(px(100), px(200), px(2000), px(3000));
  main_->move(px(300), px(150));
  main_->close();
  const int log = index_of(WindowSlot::LogViewer);
  EXPECT_EQ(app_.open_windows.count(WindowSlot::LogViewer), 0);
  EXPECT_EQ(app_.system.window_top[log], tw(px(200)));
  EXPECT_EQ(app_.system.window_width[log], tw(px(2000)));
  const int main_slot = index_of(WindowSlot::Main);
  EXPECT_EQ(app_.system.window_left[main_slot], tw(px(300)));
  EXPECT_EQ(app_.system.window_top[main_slot], tw(px(150)));
  EXPECT_EQ(app_.system.window_width[main_slot], tw(1000));
  EXPECT_EQ(app_.system.window_height[main_slot], tw(700));
}

}  // namespace
}  // namespace tsubakuro
