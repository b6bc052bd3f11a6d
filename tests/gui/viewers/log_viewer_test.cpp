#include "gui/viewers/log_viewer.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>

#include "gui/app/main_window.h"
#include "gui/shell/twips.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::ScopedWorkingDir;
using testing::write_cp932_file;

const QString kOmitted = QStringLiteral("エラー件数が多いため以下省略");

class LogViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.system.current_company = QStringLiteral("東京");
    main_ = std::make_unique<MainWindow>(app_);
    main_->resize(1000, 800);
    main_->show();
  }

  QMdiSubWindow* open() {
    frame_ = main_->show_child(new LogViewer(app_));
    return frame_;
  }
  QPlainTextEdit* text() const {
    return frame_->widget()->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
  }
  QTimer* timer() const { return frame_->widget()->findChild<QTimer*>(QStringLiteral("Timer1")); }

  // Lets the timer run until the reading is over; returns the number of lines
  // the text area held after each tick.
  std::vector<int> read_to_the_end() {
    std::vector<int> lines_after_tick;
    QObject probe;
    // Connected after the viewer's own handler, so it sees each tick's result.
    QObject::connect(timer(), &QTimer::timeout, &probe,
                     [&] { lines_after_tick.push_back(text()->document()->blockCount() - 1); });
    QElapsedTimer clock;
    clock.start();
    while (timer()->isActive() && clock.elapsed() < 10000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return lines_after_tick;
  }

  static void write_log(int entries) {
    QString text;
    for (int i = 1; i <= entries; ++i) text += QStringLiteral("\"エラー%1\"\r\n").arg(i);
    write_cp932_file(QStringLiteral("東京.log"), text);
  }

  QStringList shown_lines() const {
    QStringList lines = text()->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
  }

  ScopedWorkingDir dir_;
  AppState app_;
  std::unique_ptr<MainWindow> main_;
  QMdiSubWindow* frame_ = nullptr;
};

TEST_F(LogViewerTest, ShowsAShortLogWithoutQuotesInOnePortion) {
  write_cp932_file(QStringLiteral("東京.log"),
                   QStringLiteral("\"東京【ﾄｳｷﾖｳｼﾖｳｼﾞ】:振込\"\r\n"
                                  "\"★★変換開始★★ 2026/12/07 9:05:01\"\r\n"
                                  "\"\"\r\n"
                                  "\"ボディ 1件目 受取人名 文字エラー\"\r\n"
                                  "ﾃｶﾞｷ,ﾍﾝｼﾕｳ\r\n"
                                  "\"★★変換終了★★ 2026/12/07 9:05:02\"\r\n"));
  open();
  EXPECT_EQ(app_.open_windows.count(WindowSlot::LogViewer), 1);
  EXPECT_EQ(read_to_the_end(), std::vector<int>{7}) << "everything at the first tick";
  EXPECT_EQ(text()->toPlainText(), QStringLiteral("東京【ﾄｳｷﾖｳｼﾖｳｼﾞ】:振込\n"
                                                  "★★変換開始★★ 2026/12/07 9:05:01\n"
                                                  "\n"
                                                  "ボディ 1件目 受取人名 文字エラー\n"
                                                  "ﾃｶﾞｷ\n"
                                                  "ﾍﾝｼﾕｳ\n"
                                                  "★★変換終了★★ 2026/12/07 9:05:02\n"));
  EXPECT_TRUE(text()->isReadOnly());
}

TEST_F(LogViewerTest, ReadsInPortionsOf21AndStopsAfter14) {
  struct Case {
    int entries;
    int lines_shown;
    bool omitted;
  };
  for (const Case& c : {Case{293, 293, false}, Case{294, 295, true}, Case{1000, 295, true}}) {
    SCOPED_TRACE(c.entries);
    write_log(c.entries);
    open();
    std::vector<int> expected;
    for (int portion = 1; portion <= 14 && (portion - 1) * 21 < c.entries; ++portion) {
      expected.push_back(std::min(portion * 21, c.entries));
    }
    if (c.omitted) expected.push_back(295);
    EXPECT_EQ(read_to_the_end(), expected);
    const QStringList lines = shown_lines();
    ASSERT_EQ(lines.size(), c.lines_shown);
    EXPECT_EQ(lines.first(), QStringLiteral("エラー1"));
    EXPECT_EQ(lines.contains(kOmitted), c.omitted);
    if (c.omitted) {
      EXPECT_EQ(lines[293], QStringLiteral("エラー294"));
      EXPECT_EQ(lines.last(), kOmitted);
    }
    frame_->widget()->close();
  }
}

TEST_F(LogViewerTest, SaysSoWhenThereIsNoLog) {
  open();
  EXPECT_EQ(text()->toPlainText(), QStringLiteral("ログが存在しません。"));
  EXPECT_FALSE(timer()->isActive());
  frame_->widget()->close();

  app_.system.current_company.clear();
  open();
  EXPECT_EQ(text()->toPlainText(), QStringLiteral("ログが存在しません。"));
}

TEST_F(LogViewerTest, AnUnreadableLogIsToldInTheTextArea) {
  // A folder where the log should be cannot be read as a file on any platform.
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("東京.log")));
  open();
  read_to_the_end();
  EXPECT_TRUE(text()->toPlainText().contains(QStringLiteral("東京.log")));
  EXPECT_FALSE(text()->toPlainText().contains(QStringLiteral("ログが存在しません。")));
}

TEST_F(LogViewerTest, NeverSmallerThan1750By2800TwipsAndUsesTheGridFont) {
  const double dpi = logical_dpi();
  open();
  frame_->resize(twips_to_pixels(1000, dpi), twips_to_pixels(1000, dpi));
  EXPECT_EQ(frame_->size(), QSize(twips_to_pixels(1750, dpi), twips_to_pixels(2800, dpi)));
  EXPECT_EQ(text()->geometry(), frame_->widget()->rect());
  EXPECT_EQ(text()->font().pointSize(), 9);
  EXPECT_TRUE(text()->font().fixedPitch());
}

TEST_F(LogViewerTest, ReopensMaximizedWhenClosedMaximized) {
  const int slot = static_cast<int>(WindowSlot::LogViewer);
  app_.system.window_height[slot] = 3600;
  app_.system.window_width[slot] = 4800;
  open();
  frame_->showMaximized();
  frame_->widget()->close();
  EXPECT_EQ(app_.system.window_height[slot], -3600);
  EXPECT_EQ(app_.system.window_width[slot], -4800);
  EXPECT_EQ(app_.open_windows.count(WindowSlot::LogViewer), 0);
  open();
  EXPECT_TRUE(frame_->isMaximized());
}

}  // namespace
}  // namespace tsubakuro
