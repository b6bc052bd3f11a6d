#include "gui/shell/file_chooser.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/editors/dialog_responder.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::DialogAnswer;
using testing::DialogResponder;
using testing::ScopedWorkingDir;
using testing::write_file;

TEST(ComposeChosenPathTest, JoinsFolderAndFileWithOneSeparator) {
  EXPECT_EQ(compose_chosen_path(QStringLiteral("/"), QStringLiteral("DATA.CSV")),
            QStringLiteral("/DATA.CSV"));
  EXPECT_EQ(compose_chosen_path(QStringLiteral("/work"), QStringLiteral("OUT.TXT")),
            QStringLiteral("/work/OUT.TXT"));
  EXPECT_EQ(compose_chosen_path(QStringLiteral("/work"), QString()), QStringLiteral("/work/"));
}

class FileChooserTest : public ::testing::Test {
 protected:
  FileChooserTest() {
    QDir().mkdir(QStringLiteral("給与"));
    write_file(QStringLiteral("支払.csv"), "1,2\r\n");
    write_file(QStringLiteral("給与/十二月.csv"), "1,2\r\n");
  }

  static QListWidget* list(QWidget* chooser, const char* name) {
    return chooser->findChild<QListWidget*>(QString::fromUtf8(name));
  }
  static QStringList texts(QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i) result.append(list->item(i)->text().trimmed());
    return result;
  }
  static void activate(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchEndsWith);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->setCurrentItem(found.first());
    QTest::keyClick(list, Qt::Key_Return);
  }
  static void click(QWidget* chooser, const char* button) {
    QTest::mouseClick(chooser->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
  }

  ScopedWorkingDir dir_;
  AppState app_;
};

TEST_F(FileChooserTest, OpensOnTheProgramsFolderAndListsItsFiles) {
  FileChooser chooser(app_);
  EXPECT_EQ(chooser.windowTitle(), QStringLiteral("ファイル選択"));
  EXPECT_EQ(chooser.directory(), QDir::currentPath());
  EXPECT_EQ(texts(list(&chooser, "File1")), QStringList{QStringLiteral("支払.csv")});
  const QStringList folders = texts(list(&chooser, "Dir1"));
  EXPECT_EQ(folders.first(), QStringLiteral("/"));
  EXPECT_EQ(folders.last(), QStringLiteral("給与"));
  EXPECT_EQ(list(&chooser, "Dir1")->currentItem()->text().trimmed(), QDir::current().dirName());
  auto* drives = chooser.findChild<QComboBox*>(QStringLiteral("Drive1"));
  ASSERT_GE(drives->count(), 1);
  EXPECT_EQ(drives->itemText(0), QStringLiteral("/"));
  EXPECT_TRUE(QDir::currentPath().startsWith(drives->currentData().toString()));
}

TEST_F(FileChooserTest, OkGivesTheFolderAndTheSelectedFile) {
  FileChooser chooser(app_);
  chooser.show();
  QListWidget* files = list(&chooser, "File1");
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                    files->visualItemRect(files->item(0)).center());
  click(&chooser, "Command1(1)");
  EXPECT_EQ(chooser.result(), QDialog::Accepted);
  EXPECT_EQ(chooser.chosen(), QDir::currentPath() + QStringLiteral("/支払.csv"));
  EXPECT_EQ(app_.open_windows.count(WindowSlot::FileChooser), 0);
}

TEST_F(FileChooserTest, OkWithoutAFileGivesTheFolderWithASeparator) {
  FileChooser chooser(app_);
  chooser.show();
  activate(list(&chooser, "Dir1"), QStringLiteral("給与"));
  EXPECT_EQ(texts(list(&chooser, "File1")), QStringList{QStringLiteral("十二月.csv")});
  click(&chooser, "Command1(1)");
  EXPECT_EQ(chooser.chosen(), QDir::currentPath() + QStringLiteral("/給与/"));
}

TEST_F(FileChooserTest, EveryOtherWayOutGivesNothing) {
  {
    FileChooser chooser(app_);
    chooser.show();
    list(&chooser, "File1")->setCurrentRow(0);
    click(&chooser, "Command1(0)");
    EXPECT_EQ(chooser.chosen(), std::nullopt);
  }
  {
    FileChooser chooser(app_);
    chooser.show();
    list(&chooser, "File1")->setCurrentRow(0);
    chooser.close();  // the close box
    EXPECT_EQ(chooser.chosen(), std::nullopt);
    EXPECT_EQ(app_.open_windows.count(WindowSlot::FileChooser), 0);
  }
}

TEST_F(FileChooserTest, ChooseWaitsForTheModalAnswer) {
  QTimer::singleShot(0, [] {
    QWidget* chooser = QApplication::activeModalWidget();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->objectName(), QStringLiteral("ファイル選択"));
    list(chooser, "File1")->setCurrentRow(0);
    click(chooser, "Command1(1)");
  });
  EXPECT_EQ(FileChooser::choose(app_, nullptr), QDir::currentPath() + QStringLiteral("/支払.csv"));
  QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
  EXPECT_EQ(FileChooser::choose(app_, nullptr), std::nullopt);
}

TEST_F(FileChooserTest, AFolderThatCannotBeReadIsToldAndTheListsStay) {
  FileChooser chooser(app_);
  chooser.show();
  QDir(QStringLiteral("給与")).removeRecursively();
  DialogResponder responder({{QStringLiteral("確認メッセージ"), 0}});
  activate(list(&chooser, "Dir1"), QStringLiteral("給与"));
  ASSERT_EQ(responder.seen().size(), 1);
  EXPECT_TRUE(responder.seen().first().startsWith(QStringLiteral("エラー|")));
  EXPECT_TRUE(responder.seen().first().contains(QStringLiteral("給与")));
  EXPECT_EQ(chooser.directory(), QDir::currentPath());
  EXPECT_EQ(texts(list(&chooser, "File1")), QStringList{QStringLiteral("支払.csv")});
  // Still usable: the parent folder opens.
  const QString parent = QFileInfo(QDir::currentPath()).absolutePath();
  activate(list(&chooser, "Dir1"), QFileInfo(parent).fileName());
  EXPECT_EQ(chooser.directory(), parent);
}

TEST_F(FileChooserTest, TabGoesDriveFoldersFilesCancelOk) {
  FileChooser chooser(app_);
  chooser.show();
  chooser.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
  QStringList order{QApplication::focusWidget()->objectName()};
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.append(QApplication::focusWidget()->objectName());
  }
  EXPECT_EQ(order, (QStringList{"Drive1", "Dir1", "File1", "Command1(0)", "Command1(1)"}));
}

TEST_F(FileChooserTest, KeepsItsPlaceInItsSlot) {
  FileChooser chooser(app_);
  chooser.show();
  EXPECT_EQ(app_.open_windows.count(WindowSlot::FileChooser), 1);
  chooser.move(40, 30);
  click(&chooser, "Command1(0)");
  EXPECT_EQ(app_.open_windows.count(WindowSlot::FileChooser), 0);
  const int slot = static_cast<int>(WindowSlot::FileChooser);
  EXPECT_GT(app_.system.window_width[slot], 0);
  EXPECT_GT(app_.system.window_left[slot], 0);
}

}  // namespace
}  // namespace tsubakuro
