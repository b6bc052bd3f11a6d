#include "gui/app/main_window.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <map>

#include "core/settings/system_settings.h"
#include "gui/app/dialog_driver.h"
#include "gui/shell/child_window.h"
#include "gui/shell/message_dialogs.h"
#include "gui/shell/twips.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

int px(int twips) { return twips_to_pixels(twips, logical_dpi()); }

// The governed items, in the order of the enabling rules; the toolbar buttons
// follow the items they stand for.
const char* const kGoverned[] = {"環境設定M2",       "システム設定M2", "オプションM2",
                                 "切替M2",           "変換処理M2",     "変換結果M2",
                                 "エラーログ表示M2", "並べて表示M2"};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindow& window() {
    if (!window_) window_ = std::make_unique<MainWindow>(app_);
    return *window_;
  }

  // Which governed items are enabled, as a string of 1 and 0 in table order,
  // checking on the way that each toolbar button agrees with its item.
  std::string enabled_items() {
    window().refresh_main_menus();
    std::string states;
    for (const char* name : kGoverned) {
      auto* item = window().findChild<QAction*>(QString::fromUtf8(name));
      EXPECT_NE(item, nullptr) << name;
      states += item && item->isEnabled() ? '1' : '0';
    }
    const std::map<int, const char*> button_items = {
        {1, "切替M2"}, {2, "変換処理M2"}, {3, "変換結果M2"}, {4, "エラーログ表示M2"}};
    for (const auto& [index, name] : button_items) {
      EXPECT_EQ(button(index)->isEnabled(),
                window().findChild<QAction*>(QString::fromUtf8(name))->isEnabled())
          << "Command1(" << index << ")";
    }
    EXPECT_TRUE(button(0)->isEnabled());
    return states;
  }

  QPushButton* button(int index) {
    auto* found = window().findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
    EXPECT_NE(found, nullptr);
    return found;
  }

  AppState app_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, CarriesEveryMenuAndItemWithItsCaption) {
  const std::map<QString, QString> captions = {{"ファイルM1", "ﾌｧｲﾙ(&F)"},
                                               {"環境設定M2", "環境設定(&K)"},
                                               {"システム設定M2", "ｼｽﾃﾑ設定(&S)"},
                                               {"オプションM2", "ｵﾌﾟｼｮﾝ(&S)"},
                                               {"終了M2", "終了(&E)"},
                                               {"処理M1", "処理(&S)"},
                                               {"切替M2", "切替(&C)"},
                                               {"変換処理M2", "変換処理(&H)"},
                                               {"変換結果M2", "変換結果(&V)"},
                                               {"エラーログ表示M2", "ｴﾗｰﾛｸﾞ表示(&E)"},
                                               {"ウンドウM1", "ｳｲﾝﾄﾞｳ(&W)"},
                                               {"並べて表示M2", "変換結果＆ｴﾗｰﾛｸﾞ並べて表示"},
                                               {"ヘルプM1", "ﾍﾙﾌﾟ(&H)"},
                                               {"ヘルプM2", "ﾍﾙﾌﾟ(&H)"},
                                               {"バージョン情報M2", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}};
  for (const auto& [name, caption] : captions) {
    auto* item = window().findChild<QAction*>(name);
    ASSERT_NE(item, nullptr) << name.toStdString();
    EXPECT_EQ(item->text(), caption) << name.toStdString();
  }
  EXPECT_EQ(window().menuBar()->actions().size(), 4);
  EXPECT_NE(window().findChild<QToolBar*>(QStringLiteral("Picture1")), nullptr);
  const QStringList buttons = {"終了", "切替", "変換処理", "変換結果表示", "エラーログ表示"};
  for (int i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(button(i)->text(), buttons[i]);
    EXPECT_EQ(button(i)->accessibleName(), buttons[i]);
  }
}

TEST_F(MainWindowTest, MenusOpenFromTheKeyboard) {
  window().show();
  QApplication::setActiveWindow(&window());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTest::keyClick(&window(), Qt::Key_H, Qt::AltModifier);
  auto* help = window().findChild<QMenu*>(QStringLiteral("ヘルプM1"));
  ASSERT_TRUE(help->isVisible()) << "Alt+H opens ﾍﾙﾌﾟ";
  QTest::keyClick(help, Qt::Key_H);
  EXPECT_FALSE(help->isVisible());
  auto* manual = window().findChild<QWidget*>(QStringLiteral("ヘルプ"));
  ASSERT_NE(manual, nullptr) << "H picks ﾍﾙﾌﾟ(&H)";
  EXPECT_TRUE(manual->isVisible());
}

TEST_F(MainWindowTest, FirstStartWithoutACompanyBlocksConversionAndViewers) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("ツバクロ"));
  EXPECT_EQ(enabled_items(), "11110000");
}

TEST_F(MainWindowTest, EnablingFollowsTheOpenWindows) {
  app_.system.current_company = QStringLiteral("東京");
  EXPECT_EQ(enabled_items(), "11111110") << "a company, nothing open";

  app_.open_windows.add(WindowSlot::ResultViewer, 1);
  EXPECT_EQ(enabled_items(), "10000010") << "result viewer open";

  app_.open_windows.add(WindowSlot::LogViewer, 1);
  EXPECT_EQ(enabled_items(), "10000001") << "both viewers open";
  app_.open_windows.add(WindowSlot::ResultViewer, -1);
  EXPECT_EQ(enabled_items(), "10000100") << "log viewer alone";
  app_.open_windows.add(WindowSlot::LogViewer, -1);

  app_.open_windows.add(WindowSlot::SystemSettings, 1);
  EXPECT_EQ(enabled_items(), "00000000") << "system settings open";
  app_.open_windows.add(WindowSlot::SystemSettings, -1);

  app_.open_windows.add(WindowSlot::CompanyPicker, 1);
  EXPECT_EQ(enabled_items(), "00000110") << "company picker open";
  app_.open_windows.add(WindowSlot::CompanyPicker, -1);

  app_.open_windows.add(WindowSlot::Message, 1);
  EXPECT_EQ(enabled_items(), "11111110") << "a message dialog blocks nothing";
}

TEST_F(MainWindowTest, ANoticeOverTheCompanySwitchChangesNoMenu) {
  app_.system.current_company = QStringLiteral("東京");
  app_.open_windows.add(WindowSlot::CompanySwitch, 1);
  const std::string before = enabled_items();
  std::string during;
  testing::when_modal_shows([&](QWidget* dialog) {
    during = enabled_items();
    testing::click_button(dialog, QStringLiteral("Command1(0)"));
  });
  show_notice(app_, QStringLiteral("エラー"),
              QStringLiteral("環境設定に問題があります。確認して下さい。"));
  EXPECT_EQ(during, before);
  EXPECT_EQ(enabled_items(), before);
}

// Whatever enables or disables a command, its button follows, and a click is
// the command itself.
TEST_F(MainWindowTest, ToolbarButtonsAreTheirMenuCommands) {
  testing::ScopedWorkingDir dir;
  app_.system.current_company = QStringLiteral("東京");
  window().show();
  const char* const commands[] = {"終了M2", "切替M2", "変換処理M2", "変換結果M2",
                                  "エラーログ表示M2"};
  for (int i = 0; i < 5; ++i) {
    auto* command = window().findChild<QAction*>(QString::fromUtf8(commands[i]));
    command->setEnabled(false);
    EXPECT_FALSE(button(i)->isEnabled()) << commands[i];
    command->setEnabled(true);
    EXPECT_TRUE(button(i)->isEnabled()) << commands[i];
  }

  QSignalSpy switched(window().findChild<QAction*>(QStringLiteral("切替M2")), &QAction::triggered);
  button(1)->click();
  EXPECT_EQ(switched.count(), 1);
  EXPECT_NE(window().child_frame(QStringLiteral("切替")), nullptr);
  EXPECT_FALSE(button(1)->isEnabled()) << "the open switch window blocks a second one";
}

TEST_F(MainWindowTest, TitleNamesTheCompanyAndTheTransferKind) {
  app_.system.current_company = QStringLiteral("東京");
  window().set_main_title();
  EXPECT_EQ(window().windowTitle(), QStringLiteral("ツバクロ　東京(振込)"));
  app_.system.transfer_kind = TransferKind::Debit;
  window().set_main_title();
  EXPECT_EQ(window().windowTitle(), QStringLiteral("ツバクロ　東京(振替)"));
}

TEST_F(MainWindowTest, NeverSmallerThan4000By4500TwipsUnlessMinimized) {
  window().show();
  window().resize(px(3000), px(2000));
  EXPECT_EQ(window().size(), QSize(px(4000), px(4500)));
  window().resize(px(6000), px(2000));
  EXPECT_EQ(window().size(), QSize(px(6000), px(4500)));
  window().setWindowState(Qt::WindowMinimized);
  window().enforce_main_minimum();
  EXPECT_TRUE(window().isMinimized());
}

TEST_F(MainWindowTest, OpensWhereItWasLeftButOnScreen) {
  const int slot = static_cast<int>(WindowSlot::Main);
  app_.system.window_top[slot] = 600;
  app_.system.window_left[slot] = 900;
  app_.system.window_height[slot] = 6000;
  app_.system.window_width[slot] = 7500;
  EXPECT_EQ(window().pos(), QPoint(px(900), px(600)));
  EXPECT_EQ(window().size(), QSize(px(7500), px(6000)));
  window_.reset();

  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  app_.system.window_left[slot] = pixels_to_twips(screen.width() - 100, logical_dpi());
  app_.system.window_top[slot] = -300;
  EXPECT_EQ(window().pos(), QPoint(screen.width() - px(7500), 0));
}

TEST_F(MainWindowTest, ArrangesTheTwoViewersSideBySide) {
  class Viewer : public ChildWindow {
   public:
    Viewer(AppState& app, WindowSlot slot, const QString& name) : ChildWindow(app, slot) {
      setObjectName(name);
    }
  };
  app_.system.current_company = QStringLiteral("東京");
  window().resize(px(12000), px(9000));
  window().show();
  QMdiSubWindow* result =
      window().show_child(new Viewer(app_, WindowSlot::ResultViewer, QStringLiteral("変換結果")));
  QMdiSubWindow* log =
      window().show_child(new Viewer(app_, WindowSlot::LogViewer, QStringLiteral("エラーログ")));
  auto* arrange = window().findChild<QAction*>(QStringLiteral("並べて表示M2"));
  ASSERT_TRUE(arrange->isEnabled());
  log->showMaximized();
  result->showMinimized();
  arrange->trigger();

  EXPECT_FALSE(result->isMinimized());
  EXPECT_FALSE(log->isMaximized());
  const QSize inner = window().mdi_area()->viewport()->size();
  const double dpi = logical_dpi();
  const int inner_width = pixels_to_twips(inner.width(), dpi);
  const int result_width = static_cast<int>(inner_width * 0.7);
  EXPECT_EQ(result->geometry(), QRect(0, 0, twips_to_pixels(result_width, dpi), inner.height()));
  EXPECT_EQ(log->x(), twips_to_pixels(result_width + 1, dpi));
  EXPECT_EQ(log->width(), twips_to_pixels(inner_width - result_width, dpi));
  EXPECT_EQ(log->height(), inner.height());

  log->widget()->close();
  EXPECT_FALSE(arrange->isEnabled());
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsWithEveryWindowsPlace) {
  testing::ScopedWorkingDir dir;
  class Editor : public ChildWindow {
   public:
    explicit Editor(AppState& app) : ChildWindow(app, WindowSlot::FieldOptions) {
      setObjectName(QStringLiteral("オプション"));
    }
  };
  app_.system.current_company = QStringLiteral("東京");
  window().show();
  window().show_child(new Editor(app_))->move(px(600), px(300));
  window().findChild<QAction*>(QStringLiteral("終了M2"))->trigger();
  EXPECT_FALSE(window().isVisible());

  SystemSettings stored;
  load_system_settings(stored);
  EXPECT_EQ(stored.current_company, QStringLiteral("東京"));
  const int editor = static_cast<int>(WindowSlot::FieldOptions);
  EXPECT_EQ(stored.window_left[editor], pixels_to_twips(px(600), logical_dpi()));
  EXPECT_EQ(stored.window_top[editor], pixels_to_twips(px(300), logical_dpi()));
  const int main_slot = static_cast<int>(WindowSlot::Main);
  EXPECT_EQ(stored.window_width[main_slot], pixels_to_twips(window().width(), logical_dpi()));
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenIsToldAndTheProgramStillEnds) {
  testing::ScopedWorkingDir dir;
  // A folder in the way of tbk.ini stops the save wherever the test runs.
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("tbk.ini")));
  window().show();
  QString told;
  testing::when_modal_shows([&told](QWidget* dialog) {
    told =
        dialog->windowTitle() + u'|' + dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
    testing::click_button(dialog, QStringLiteral("Command1(0)"));
  });
  button(0)->click();
  EXPECT_TRUE(told.startsWith(QStringLiteral("エラー|"))) << told.toStdString();
  EXPECT_TRUE(told.contains(QStringLiteral("tbk.ini")));
  EXPECT_FALSE(window().isVisible());
}

// A "tsubakuro.ini" that cannot be read stops every conversion; the user hears of
// it when the program starts, not first at 変換処理.
TEST_F(MainWindowTest, ASettingsFileThatCannotBeReadIsToldAtStart) {
  testing::ScopedWorkingDir dir;
  testing::write_file(QStringLiteral("tsubakuro.ini"), "[bank_rules]\ncheck_codes=nein\n");
  load_system_settings(app_.system);
  window().show();
  QString told;
  testing::when_modal_shows([&told](QWidget* dialog) {
    told =
        dialog->windowTitle() + u'|' + dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
    testing::click_button(dialog, QStringLiteral("Command1(0)"));
  });
  window().tell_start_problems();
  EXPECT_TRUE(told.startsWith(QStringLiteral("エラー|設定ファイル「tsubakuro.ini」")))
      << told.toStdString();
  EXPECT_TRUE(told.contains(QStringLiteral("check_codes")));

  told.clear();
  testing::write_file(QStringLiteral("tsubakuro.ini"), "[bank_rules]\ncheck_codes=on\n");
  load_system_settings(app_.system);
  window().tell_start_problems();
  EXPECT_EQ(told, QString()) << "nothing to tell";
}

}  // namespace
}  // namespace tsubakuro
