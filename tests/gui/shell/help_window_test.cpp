#include "gui/shell/help_window.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>

#include "gui/app/main_window.h"
#include "gui/shell/resources.h"

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
                            "システム設定", "毎行に改行文字を入れる", "会社別で設定する",
                            "引用符が閉じていません", "Excel で支払一覧を保存する"}) {
    EXPECT_TRUE(manual.contains(QString::fromUtf8(topic))) << topic;
  }

  // A second request brings the same window forward.
  main_window.findChild<QAction*>(QStringLiteral("ヘルプM2"))->trigger();
  EXPECT_EQ(main_window.findChildren<HelpWindow*>().size(), 1);
  help->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
  EXPECT_FALSE(help->isVisible());
}

// The pictures travel inside the program with the manual, so the help shows
// them in any working folder.
TEST(HelpWindow, TheHelpShowsTheManualsPictures) {
  AppState app;
  MainWindow main_window(app);
  main_window.findChild<QAction*>(QStringLiteral("ヘルプM2"))->trigger();
  auto* help = main_window.findChild<HelpWindow*>(QStringLiteral("ヘルプ"));
  ASSERT_NE(help, nullptr);
  QFile file(QStringLiteral(":/tsubakuro/manual.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  int pictures = 0;
  for (const auto& image : QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\""))
                               .globalMatch(QString::fromUtf8(file.readAll()))) {
    ++pictures;
    const QVariant loaded =
        help->browser()->loadResource(QTextDocument::ImageResource, QUrl(image.captured(1)));
    EXPECT_FALSE(QImage::fromData(loaded.toByteArray()).isNull())
        << image.captured(1).toStdString();
  }
  EXPECT_GT(pictures, 10);
}

// A link inside the manual whose target is missing leaves the reader where
// they were, with no sign why.
TEST(HelpWindow, EveryLinkInsideTheManualHasItsTarget) {
  load_resources();
  QFile file(QStringLiteral(":/tsubakuro/manual.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString manual = QString::fromUtf8(file.readAll());
  QSet<QString> targets;
  for (const auto& id : QRegularExpression(QStringLiteral("id=\"([^\"]+)\"")).globalMatch(manual))
    targets.insert(id.captured(1));
  int links = 0;
  for (const auto& link :
       QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(manual)) {
    ++links;
    EXPECT_TRUE(targets.contains(link.captured(1))) << link.captured(1).toStdString();
  }
  EXPECT_GT(links, 10);
}

}  // namespace
}  // namespace tsubakuro
