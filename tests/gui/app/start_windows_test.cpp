#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/zengin/bank_list.h"
#include "gui/app/about_window.h"
#include "gui/app/dialog_driver.h"
#include "gui/app/splash_window.h"

namespace tsubakuro {
namespace {

QString label_text(QWidget* window, const char* name) {
  auto* label = window->findChild<QLabel*>(QString::fromUtf8(name));
  return label ? label->text() : QStringLiteral("(missing)");
}

TEST(SplashWindow, ShowsTheVersionAndGoesAwayOnAKeyAClickOrAfterThreeSeconds) {
  SplashWindow splash;
  EXPECT_EQ(splash.objectName(), QStringLiteral("見出し"));
  EXPECT_EQ(label_text(&splash, "lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 3.1.4"));
  EXPECT_EQ(label_text(&splash, "lblProductName"), QStringLiteral("ツバクロ"));
  EXPECT_FALSE(splash.findChild<QLabel*>(QStringLiteral("imgLogo"))->pixmap().isNull());
  EXPECT_FALSE(splash.windowFlags() & Qt::WindowCloseButtonHint);
  auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 3000);

  testing::when_modal_shows([](QWidget* window) { QTest::keyClick(window, Qt::Key_A); });
  EXPECT_EQ(splash.exec(), QDialog::Accepted);

  SplashWindow clicked;
  testing::when_modal_shows([](QWidget* window) {
    QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("lblProductName")), Qt::LeftButton);
  });
  clicked.exec();
  EXPECT_FALSE(clicked.isVisible());

  // Its own timer closes it: shortened here so the test need not wait 3 s.
  SplashWindow waited;
  testing::when_modal_shows([](QWidget* window) {
    auto* own_timer = window->findChild<QTimer*>(QStringLiteral("Timer1"));
    EXPECT_TRUE(own_timer->isActive());
    own_timer->setInterval(1);
  });
  EXPECT_EQ(waited.exec(), QDialog::Accepted);
}

TEST(AboutWindow, NamesTheReleaseAndSaysWhenThereIsNoSystemInformation) {
  AppState app;
  int started = 0;
  AboutWindow about(app, nullptr, [&started] {
    ++started;
    return false;
  });
  EXPECT_EQ(about.objectName(), QStringLiteral("バージョン情報"));
  EXPECT_EQ(about.windowTitle(), QStringLiteral("ツバクロのﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_EQ(label_text(&about, "lblTitle"), QStringLiteral("ツバクロ"));
  EXPECT_EQ(label_text(&about, "lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 3.1.4"));
  ASSERT_TRUE(shipped_bank_list());
  EXPECT_EQ(label_text(&about, "lblBankList"),
            QStringLiteral("銀行一覧: ") + shipped_bank_list()->edition());
  auto* system_info = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
  ASSERT_NE(system_info, nullptr);
  EXPECT_EQ(system_info->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));

  QString told;
  testing::when_modal_shows([&](QWidget* window) {
    testing::when_modal_shows([&told](QWidget* notice) {
      told = notice->findChild<QLabel*>(QStringLiteral("Label1"))->text();
      testing::click_button(notice, QStringLiteral("Command1(0)"));
    });
    testing::click_button(window, QStringLiteral("cmdSysInfo"));
    testing::click_button(window, QStringLiteral("cmdOK"));
  });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
  EXPECT_EQ(started, 1);
  EXPECT_EQ(told, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}

}  // namespace
}  // namespace tsubakuro
