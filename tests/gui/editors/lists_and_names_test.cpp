// The drop-down lists and name entries of the settings windows, driven with
// real keys and wheel turns as a user would.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWheelEvent>

#include "core/settings/company_name.h"
#include "gui/app/dialog_driver.h"
#include "gui/editors/editors_fixture.h"
#include "gui/shell/message_dialogs.h"
#include "options_test_support.h"

namespace tsubakuro {
namespace {

// One notch of the wheel over the middle of `widget`; down turns a list to its
// next entry, up to the one before. True when the widget took the turn; one it
// leaves goes on to the window behind, which scrolls.
bool turn_wheel(QWidget* widget, bool down) {
  const QPointF centre = QRectF(widget->rect()).center();
  QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, down ? -120 : 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
  return wheel.isAccepted();
}

void press(QWidget* widget, Qt::Key key) {
  widget->setFocus();
  QTest::keyClick(widget, key);
}

class ListsAndNamesTest : public testing::EditorsTest {
 protected:
  // 環境設定 on `company`, reached as the user does: 環境設定 menu, name, 修正.
  QWidget* open_company_editor(const QString& company) {
    main_->open_company_picker();
    QWidget* picker = open_window(QStringLiteral("環境設定切替"));
    control<QComboBox>(picker, QStringLiteral("社名"))->setEditText(company);
    click(picker, QStringLiteral("Command1(2)"));
    settle();
    return open_window(QStringLiteral("環境設定"));
  }

  QWidget* open_field_options() {
    main_->open_field_options();
    return open_window(QStringLiteral("オプション"));
  }

  // Types into a list's text the way the keyboard does.
  static void type_into(QComboBox* list, const QString& text) {
    list->lineEdit()->selectAll();
    list->setFocus();
    QTest::keyClicks(list->lineEdit(), text);
  }

  // Answers the next notice with "OK" and keeps what it said.
  static void note_next_notice(QString* said) {
    testing::when_modal_shows([said](QWidget* notice) {
      *said = notice->findChild<QLabel*>(QStringLiteral("Label1"))->text();
      testing::click_button(notice, QStringLiteral("Command1(0)"));
    });
  }
};

TEST_F(ListsAndNamesTest, ColumnListsStepFromTheLoadedValueWithKeysAndTheFocusedWheel) {
  CompanySettings tokyo = company_using(true, true);
  tokyo.credit.body_columns[0] = QStringLiteral("7");
  tokyo.credit.body_columns[5] = QStringLiteral("7");
  tokyo.credit.skip_header_rows = QStringLiteral("2");
  tokyo.debit.body_columns[2] = QStringLiteral("30");
  tokyo.debit.skip_header_rows = QStringLiteral("5");
  save_company(QStringLiteral("東京"), tokyo);
  QWidget* editor = open_company_editor(QStringLiteral("東京"));
  ASSERT_NE(editor, nullptr);

  auto* first = control<QComboBox>(editor, QStringLiteral("Combo1(0)"));
  EXPECT_EQ(first->currentIndex(), 6) << "the loaded value is the selected entry";
  press(first, Qt::Key_Down);
  EXPECT_EQ(first->currentText(), QStringLiteral("8"));
  press(first, Qt::Key_Up);
  press(first, Qt::Key_Up);
  EXPECT_EQ(first->currentText(), QStringLiteral("6"));
  auto* skip_rows = control<QComboBox>(editor, QStringLiteral("Combo2"));
  press(skip_rows, Qt::Key_Down);
  EXPECT_EQ(skip_rows->currentText(), QStringLiteral("3"));

  // The wheel passing over a list it has not focused leaves the value alone.
  auto* sixth = control<QComboBox>(editor, QStringLiteral("Combo1(5)"));
  first->setFocus();
  EXPECT_FALSE(turn_wheel(sixth, true)) << "left for the window to scroll";
  EXPECT_EQ(sixth->currentText(), QStringLiteral("7"));
  EXPECT_TRUE(first->hasFocus()) << "the wheel takes no focus";
  sixth->setFocus();
  EXPECT_TRUE(turn_wheel(sixth, true));
  EXPECT_EQ(sixth->currentText(), QStringLiteral("8"));

  testing::click_when_modal_shows(QStringLiteral("Command1(1)"));  // 保存しますか？
  click(editor, QStringLiteral("Command2(1)"));
  const Result<LoadedCompanySettings> loaded = load_company_settings(QStringLiteral("東京"));
  ASSERT_TRUE(loaded.ok());
  const CompanySettings& saved = loaded->settings;
  EXPECT_EQ(saved.credit.body_columns[0], QStringLiteral("6"));
  EXPECT_EQ(saved.credit.body_columns[5], QStringLiteral("8"));
  EXPECT_EQ(saved.credit.skip_header_rows, QStringLiteral("3"));
  EXPECT_EQ(saved.debit.body_columns[2], QStringLiteral("30"));
  EXPECT_EQ(saved.debit.skip_header_rows, QStringLiteral("5"));
}

TEST_F(ListsAndNamesTest, KindListsStepFromTheKindTheyShow) {
  app_.system.field_kinds.of(TransferKind::Credit, RecordKind::Data)[9] = QStringLiteral("N");
  app_.system.field_kinds.of(TransferKind::Credit, RecordKind::Data)[8] = QStringLiteral("C");
  QWidget* options = open_field_options();
  ASSERT_NE(options, nullptr);
  auto* amount = control<QComboBox>(options, QStringLiteral("Combo12(9)"));
  auto* payee = control<QComboBox>(options, QStringLiteral("Combo12(8)"));
  EXPECT_EQ(amount->currentText(), QStringLiteral("数字"));
  press(amount, Qt::Key_Up);
  EXPECT_EQ(amount->currentText(), QStringLiteral("文字"));
  press(payee, Qt::Key_Down);
  EXPECT_EQ(payee->currentText(), QStringLiteral("数字"));
  click(options, QStringLiteral("Command1(1)"));
  EXPECT_EQ(app_.system.field_kinds.at(TransferKind::Credit, RecordKind::Data, 10), u"C");
  EXPECT_EQ(app_.system.field_kinds.at(TransferKind::Credit, RecordKind::Data, 9), u"N");
}

TEST_F(ListsAndNamesTest, TypedTextIsNeverCompletedFromTheEntries) {
  save_company(QStringLiteral("ABCD"), company_using(true, false));
  main_->open_company_switch();
  QWidget* switcher = open_window(QStringLiteral("切替"));
  auto* name = control<QComboBox>(switcher, QStringLiteral("社名"));
  type_into(name, QStringLiteral("AB"));
  EXPECT_EQ(name->currentText(), QStringLiteral("AB"));
  click(switcher, QStringLiteral("Command1(1)"));
  EXPECT_EQ(app_.system.current_company, QStringLiteral("AB"));
  settle();

  QWidget* options = open_field_options();
  auto* kind = control<QComboBox>(options, QStringLiteral("Combo12(9)"));
  kind->lineEdit()->clear();
  testing::type_text(kind->lineEdit(), QStringLiteral("文"));
  QTest::keyClicks(kind->lineEdit(), QStringLiteral("x"));
  EXPECT_EQ(kind->currentText(), QStringLiteral("文x"));
  click(options, QStringLiteral("Command1(1)"));
  EXPECT_EQ(app_.system.field_kinds.at(TransferKind::Credit, RecordKind::Data, 10), u"N");
}

// The names saving refuses (a double quote, a character Shift-JIS lacks) are
// refused where they are typed, with saving's own message, and the window or
// prompt the user typed into stays open.
TEST_F(ListsAndNamesTest, CompanyNamesSavingCannotKeepAreRefusedWhereTheyAreEntered) {
  const QString quoted = QStringLiteral("東京\"支店");
  const QString outside_cp932 = QStringLiteral("𠮷野商事");
  SystemSettings keeps_outside;
  keeps_outside.current_company = outside_cp932;
  const QString outside_message = save_system_settings(keeps_outside).message();
  const QString quote_message = save_company_settings(quoted, CompanySettings()).message();
  ASSERT_FALSE(outside_message.isEmpty());
  ASSERT_FALSE(quote_message.isEmpty());
  save_company(QStringLiteral("東京"), company_using(true, false));
  app_.system.current_company = QStringLiteral("東京");

  main_->open_company_switch();
  QPointer<QWidget> switcher = open_window(QStringLiteral("切替"));
  for (const auto& [typed, message] :
       {std::pair{quoted, quote_message}, std::pair{outside_cp932, outside_message},
        std::pair{QStringLiteral("  "), QString()}}) {
    control<QComboBox>(switcher, QStringLiteral("社名"))->setEditText(typed);
    QString said;
    note_next_notice(&said);
    click(switcher, QStringLiteral("Command1(1)"));
    if (!message.isEmpty()) {
      EXPECT_EQ(said, message);
    }
    EXPECT_FALSE(said.isEmpty()) << typed.toStdString();
    EXPECT_TRUE(switcher && switcher->isVisible());
    EXPECT_EQ(app_.system.current_company, QStringLiteral("東京"));
  }
  click(switcher, QStringLiteral("Command1(0)"));
  settle();

  main_->open_company_picker();
  QPointer<QWidget> picker = open_window(QStringLiteral("環境設定切替"));
  control<QComboBox>(picker, QStringLiteral("社名"))->setEditText(outside_cp932);
  QString said;
  note_next_notice(&said);
  click(picker, QStringLiteral("Command1(2)"));
  EXPECT_EQ(said, outside_message);
  EXPECT_TRUE(picker && picker->isVisible());
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), nullptr);

  // 新規 names the company only when it is registered, in the prompt.
  click(picker, QStringLiteral("Command1(1)"));
  settle();
  QWidget* editor = open_window(QStringLiteral("環境設定"));
  ASSERT_NE(editor, nullptr);
  QString prompt_said;
  bool prompt_stayed = false;
  QString text_kept;
  testing::when_modal_shows([&](QWidget* prompt) {
    auto* box = prompt->findChild<QLineEdit*>(QStringLiteral("Text1"));
    box->setText(outside_cp932);
    note_next_notice(&prompt_said);
    testing::click_button(prompt, QStringLiteral("Command1(1)"));
    prompt_stayed = prompt->isVisible();
    text_kept = box->text();
    box->setText(QStringLiteral("吉野商事"));
    testing::click_button(prompt, QStringLiteral("Command1(1)"));
  });
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_EQ(prompt_said, outside_message);
  EXPECT_TRUE(prompt_stayed);
  EXPECT_EQ(text_kept, outside_cp932);
  EXPECT_TRUE(QFile::exists(QStringLiteral("吉野商事.cfg")));
  EXPECT_FALSE(QFile::exists(outside_cp932 + QStringLiteral(".cfg")));
}

}  // namespace
}  // namespace tsubakuro
