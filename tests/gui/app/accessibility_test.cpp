#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "gui/app/about_window.h"
#include "gui/app/dialog_driver.h"
#include "gui/app/main_window.h"
#include "gui/shell/message_dialogs.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

// What a screen reader announces for each control a user can reach in `window`
// that would be announced without a name.
std::string unnamed_controls(QWidget* window) {
  QStringList unnamed;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    const bool control =
        qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
        qobject_cast<QComboBox*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
        qobject_cast<QTextEdit*>(widget) || qobject_cast<QAbstractItemView*>(widget);
    if (!control || !widget->isVisibleTo(window)) continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
      unnamed << widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
    }
  }
  return unnamed.join(u", ").toStdString();
}

TEST(Accessibility, TheMainWindowTheLogViewerAndTheDialogsNameEveryControl) {
  testing::ScopedWorkingDir dir;
  AppState app;
  app.system.current_company = QStringLiteral("東京");
  MainWindow window(app);
  window.show();
  window.findChild<QAction*>(QStringLiteral("エラーログ表示M2"))->trigger();
  EXPECT_EQ(unnamed_controls(&window), "");
  for (QAction* menu : window.menuBar()->actions()) {
    EXPECT_FALSE(menu->text().isEmpty());
    for (QAction* item : menu->menu()->actions()) EXPECT_FALSE(item->text().isEmpty());
  }

  for (int kind = 0; kind < 3; ++kind) {
    std::string unnamed = "not checked";
    testing::when_modal_shows([&unnamed](QWidget* dialog) {
      unnamed = unnamed_controls(dialog);
      testing::click_button(dialog, QStringLiteral("Command1(0)"));
    });
    if (kind == 0)
      show_notice(app, QStringLiteral("エラー"), QStringLiteral("出力ファイルが存在しません"));
    if (kind == 1) ask_confirm(app, QStringLiteral("保存確認"), QStringLiteral("保存しますか？"));
    if (kind == 2)
      ask_text(app, QStringLiteral("新規登録"), QStringLiteral("登録名称を入力してください。"));
    EXPECT_EQ(unnamed, "") << "dialog " << kind;
  }

  AboutWindow about(app, &window);
  EXPECT_EQ(unnamed_controls(&about), "");
  window.findChild<QAction*>(QStringLiteral("ヘルプM2"))->trigger();
  EXPECT_EQ(unnamed_controls(window.findChild<QWidget*>(QStringLiteral("ヘルプ"))), "");
}

}  // namespace
}  // namespace tsubakuro
