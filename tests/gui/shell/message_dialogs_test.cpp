#include "gui/shell/message_dialogs.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "gui/app/dialog_driver.h"
#include "gui/shell/twips.h"

namespace tsubakuro {
namespace {

using testing::click_button;
using testing::click_when_modal_shows;
using testing::when_modal_shows;

int px(int twips) { return twips_to_pixels(twips, logical_dpi()); }

QPushButton* button(QWidget* dialog, int index) {
  return dialog->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
}

TEST(MessageDialogs, NoticeIsAtLeast3500TwipsWideWithItsOkCentred) {
  AppState app;
  const QString message = QStringLiteral("入力ファイルが存在し");  // 10 characters
  bool seen = false;
  when_modal_shows([&](QWidget* dialog) {
    seen = true;
    EXPECT_EQ(dialog->objectName(), QStringLiteral("確認メッセージ"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("エラー"));
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowSystemMenuHint);
    auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), message);
    EXPECT_EQ(label->width(), px(2500));
    EXPECT_EQ(dialog->width(), px(3500));
    QPushButton* ok = button(dialog, 0);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->x(), (dialog->width() - ok->width()) / 2);
    EXPECT_EQ(button(dialog, 1), nullptr);
    // Neither Escape nor the window manager closes it; only its button does.
    QTest::keyClick(dialog, Qt::Key_Escape);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    click_button(dialog, QStringLiteral("Command1(0)"));
  });
  show_notice(app, QStringLiteral("エラー"), message);
  EXPECT_TRUE(seen);
}

TEST(MessageDialogs, ConfirmGrowsWithItsMessageAndAnswersWithTheButtonIndex) {
  AppState app;
  const QString message = QString(20, QChar(u'確'));
  when_modal_shows([](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), QStringLiteral("選択メッセージ"));
    EXPECT_EQ(dialog->width(), px(5100));
    QPushButton* ok = button(dialog, 1);
    QPushButton* cancel = button(dialog, 0);
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(ok->x(), dialog->width() / 2 - ok->width() - px(100));
    EXPECT_EQ(cancel->x(), dialog->width() / 2 + px(100));
    click_button(dialog, QStringLiteral("Command1(1)"));
  });
  EXPECT_TRUE(ask_confirm(app, QStringLiteral("存在確認"), message));

  click_when_modal_shows(QStringLiteral("Command1(0)"));
  EXPECT_FALSE(ask_confirm(app, QStringLiteral("保存確認"), QStringLiteral("保存しますか？")));
}

TEST(MessageDialogs, TextPromptIgnoresOkUntilSomethingIsTyped) {
  AppState app;
  when_modal_shows([](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), QStringLiteral("入力メッセージ"));
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(box->width(), dialog->width() - px(400));
    EXPECT_EQ(box->accessibleName(), QStringLiteral("登録名称を入力してください。"));
    click_button(dialog, QStringLiteral("Command1(1)"));
    EXPECT_TRUE(dialog->isVisible());
    box->insert(QStringLiteral("大阪"));
    click_button(dialog, QStringLiteral("Command1(1)"));
  });
  EXPECT_EQ(
      ask_text(app, QStringLiteral("新規登録"), QStringLiteral("登録名称を入力してください。")),
      QStringLiteral("大阪"));

  when_modal_shows([](QWidget* dialog) {
    QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("Text1")), "x");
    click_button(dialog, QStringLiteral("Command1(0)"));
  });
  EXPECT_EQ(
      ask_text(app, QStringLiteral("新規登録"), QStringLiteral("登録名称を入力してください。")),
      QString());

  click_when_modal_shows(QStringLiteral("Command1(0)"));
  EXPECT_EQ(
      ask_text(app, QStringLiteral("新規登録"), QStringLiteral("登録名称を入力してください。")),
      QString());
}

TEST(MessageDialogs, ALongMessageWrapsInsteadOfLeavingTheScreen) {
  AppState app;
  const QString message = QString(300, QChar(u'長'));
  when_modal_shows([](QWidget* dialog) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(dialog->width(), screen.width());
    auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_GT(label->height(), 2 * label->fontMetrics().height()) << "the message wraps";
    QPushButton* ok = button(dialog, 0);
    EXPECT_LE(ok->geometry().right(), dialog->width());
    EXPECT_LE(ok->geometry().bottom(), dialog->height());
    EXPECT_GE(ok->y(), label->geometry().bottom());
    click_button(dialog, QStringLiteral("Command1(0)"));
  });
  show_notice(app, QStringLiteral("エラー"), message);
}

TEST(MessageDialogs, KeepTheirPlaceInSlotNineWithoutCountingThemselves) {
  AppState app;
  const int slot = static_cast<int>(WindowSlot::Message);
  app.system.window_top[slot] = 1500;
  app.system.window_left[slot] = 3000;
  when_modal_shows([](QWidget* dialog) {
    EXPECT_EQ(dialog->pos(), QPoint(px(3000), px(1500)));
    dialog->move(px(600), px(900));
    click_button(dialog, QStringLiteral("Command1(0)"));
  });
  show_notice(app, QStringLiteral("エラー"), QStringLiteral("出力ファイルが存在しません"));
  EXPECT_EQ(app.system.window_left[slot], 600);
  EXPECT_EQ(app.system.window_top[slot], 900);
  EXPECT_EQ(app.open_windows.count(WindowSlot::Message), 0);
}

TEST(MessageDialogs, AFailureOfTheCoreIsShownAsAnErrorNotice) {
  AppState app;
  QString shown;
  when_modal_shows([&shown](QWidget* dialog) {
    shown =
        dialog->windowTitle() + u'|' + dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
    click_button(dialog, QStringLiteral("Command1(0)"));
  });
  show_failure(app, failure(QStringLiteral("会社別CFGファイルが存在しません")));
  EXPECT_EQ(shown, QStringLiteral("エラー|会社別CFGファイルが存在しません"));
}

}  // namespace
}  // namespace tsubakuro
