#include "gui/shell/help_window.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTextBrowser>

#include "gui/app/main_window.h"

namespace tsubakuro {
namespace {

// The manual is part of the program: the help item must find it in any folder.
TEST(HelpWindow, TheHelpItemShowsTheManualThatShipsWithTheProgram) {
  AppState app;
  MainWindow main_window(app);
  main_window.findChild<QAction*>(QStringLiteral("ヘルプM2"))->trigger();
  auto* help = main_window.findChild<HelpWindow*>(QStringLiteral("ヘルプ"));
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  const QString manual = help->browser()->toPlainText();
  for (const char* topic : {"会社を登録する", "列を対応付ける", "変換する", "エラーログの見方",
                            "システム設定", "毎行に改行文字を入れる", "会社別で設定する"}) {
    EXPECT_TRUE(manual.contains(QString::fromUtf8(topic))) << topic;
  }

  // A second request brings the same window forward.
  main_window.findChild<QAction*>(QStringLiteral("ヘルプM2"))->trigger();
  EXPECT_EQ(main_window.findChildren<HelpWindow*>().size(), 1);
  help->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
  EXPECT_FALSE(help->isVisible());
}

}  // namespace
}  // namespace tsubakuro
