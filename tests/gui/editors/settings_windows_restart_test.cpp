// The system settings and the field names and kinds live in memory until the main
// window closes; these tests end the program that way and start it again on the
// same working folder.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "options_test_support.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::ProgramRun;

const QString kSystemItem = QStringLiteral("システム設定M2");
const QString kSystemWindow = QStringLiteral("システム設定");
const QString kOptionsItem = QStringLiteral("オプションM2");
const QString kOptionsWindow = QStringLiteral("オプション");

template <typename T>
T* control(QWidget* window, const QString& name) {
  T* found = window ? window->findChild<T*>(name) : nullptr;
  EXPECT_NE(found, nullptr) << name.toStdString();
  return found;
}

void click(QWidget* window, const QString& name) {
  if (auto* button = control<QAbstractButton>(window, name)) testing::click_button_as_user(button);
}

TEST(SettingsWindowsAcrossARestart, KeepTheRecordLength258) {
  testing::ScopedWorkingDir folder;
  {
    ProgramRun run;
    QWidget* dialog = run.open_from_menu(kSystemItem, kSystemWindow);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(control<QRadioButton>(dialog, QStringLiteral("Option1(0)"))->isChecked());
    click(dialog, QStringLiteral("Option1(5)"));
    click(dialog, QStringLiteral("Command1(1)"));
    testing::settle_events();
    EXPECT_EQ(run.main_window().findChild<QWidget*>(kSystemWindow), nullptr);
    EXPECT_EQ(run.app().system.options.record_length, 258);
  }
  ProgramRun again;
  EXPECT_EQ(again.app().system.options.record_length, 258);
  QWidget* dialog = again.open_from_menu(kSystemItem, kSystemWindow);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(control<QRadioButton>(dialog, QStringLiteral("Option1(5)"))->isChecked());
}

TEST(SettingsWindowsAcrossARestart, ARenamedTrailerFieldShowsInTheZeroFillCaption) {
  testing::ScopedWorkingDir folder;
  const QString caption = QStringLiteral(
      "振替結果ｺｰﾄﾞ(返済件数、振替済金額、振替不能件数、振替不能金額)に固定でゼロを入れる");
  {
    ProgramRun run;
    QWidget* editor = run.open_from_menu(kOptionsItem, kOptionsWindow);
    ASSERT_NE(editor, nullptr);
    auto* name = control<QLineEdit>(editor, QStringLiteral("Text23(3)"));
    name->clear();
    testing::type_text(name, QStringLiteral("返済件数"));
    click(editor, QStringLiteral("Command1(1)"));
    testing::settle_events();

    QWidget* dialog = run.open_from_menu(kSystemItem, kSystemWindow);
    ASSERT_NE(dialog, nullptr) << "the menu is enabled again once the editor has closed";
    EXPECT_EQ(control<QCheckBox>(dialog, QStringLiteral("Check3(1)"))->text(), caption);
  }
  ProgramRun again;
  QWidget* dialog = again.open_from_menu(kSystemItem, kSystemWindow);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(control<QCheckBox>(dialog, QStringLiteral("Check3(1)"))->text(), caption);
  click(dialog, QStringLiteral("Command1(0)"));
  testing::settle_events();
  QWidget* editor = again.open_from_menu(kOptionsItem, kOptionsWindow);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text23(3)"))->text(),
            QStringLiteral("返済件数"));
}

// tbk.ini has no place for the kind of the last 振替 trailer field: it comes back
// from the built-in dictionary, while its neighbours keep what the user chose.
TEST(SettingsWindowsAcrossARestart, TheLastDebitTrailerKindReturnsToItsBuiltInValue) {
  testing::ScopedWorkingDir folder;
  {
    ProgramRun run;
    QWidget* editor = run.open_from_menu(kOptionsItem, kOptionsWindow);
    ASSERT_NE(editor, nullptr);
    control<QComboBox>(editor, QStringLiteral("Combo23(7)"))
        ->setCurrentText(QStringLiteral("数字"));
    control<QComboBox>(editor, QStringLiteral("Combo23(2)"))
        ->setCurrentText(QStringLiteral("文字"));
    click(editor, QStringLiteral("Command1(1)"));
    testing::settle_events();
    EXPECT_EQ(run.app().system.field_kinds.at(TransferKind::Debit, RecordKind::Trailer, 8),
              QStringLiteral("N"))
        << "held until the program ends";
  }
  ProgramRun again;
  QWidget* editor = again.open_from_menu(kOptionsItem, kOptionsWindow);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(control<QComboBox>(editor, QStringLiteral("Combo23(7)"))->currentText(),
            QStringLiteral("文字"));
  EXPECT_EQ(control<QComboBox>(editor, QStringLiteral("Combo23(2)"))->currentText(),
            QStringLiteral("文字"));
}

}  // namespace
}  // namespace tsubakuro
