#include "gui/editors/field_options_editor.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "core/records/field_checker.h"
#include "options_test_support.h"

namespace tsubakuro {
namespace {

using testing::answer_next_notice;

struct OpenEditor {
  explicit OpenEditor(AppState& app) : window(new FieldOptionsEditor(app)) { window->show(); }
  ~OpenEditor() { delete window; }

  QLineEdit* name_box(const char* array, int index) const {
    auto* box = window->findChild<QLineEdit*>(QStringLiteral("%1(%2)").arg(array).arg(index));
    EXPECT_NE(box, nullptr) << array << "(" << index << ")";
    return box;
  }
  QComboBox* kind_list(const char* array, int index) const {
    auto* list = window->findChild<QComboBox*>(QStringLiteral("%1(%2)").arg(array).arg(index));
    EXPECT_NE(list, nullptr) << array << "(" << index << ")";
    return list;
  }
  QString label_of(QWidget* box) const {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->buddy() == box) return label->text();
    }
    return QStringLiteral("(no label)");
  }
  void retype(QLineEdit* box, const QString& text) const {
    box->clear();
    testing::type_text(box, text);
  }
  void click(const char* button) const {
    auto* found = window->findChild<QPushButton*>(QString::fromUtf8(button));
    ASSERT_NE(found, nullptr) << button;
    testing::click_button_as_user(found);
  }

  QPointer<FieldOptionsEditor> window;
};

AppState fresh_app() {
  AppState app;
  init_field_dictionary(app.system);
  return app;
}

QString name_of(const AppState& app, TransferKind transfer, RecordKind record, int field) {
  return app.system.field_names.at(transfer, record, field);
}

QString kind_of(const AppState& app, TransferKind transfer, RecordKind record, int field) {
  return app.system.field_kinds.at(transfer, record, field);
}

TEST(FieldOptionsEditor, HasARowForEveryFieldOfBothTransferKinds) {
  AppState app = fresh_app();
  OpenEditor editor(app);
  const struct {
    const char* names;
    const char* kinds;
    int rows;
  } arrays[] = {{"Text1", "Combo11", 13}, {"Text2", "Combo12", 15},  {"Text3", "Combo13", 4},
                {"Text4", "Combo14", 2},  {"Text21", "Combo21", 13}, {"Text22", "Combo22", 15},
                {"Text23", "Combo23", 8}, {"Text24", "Combo24", 2}};
  for (const auto& a : arrays) {
    for (int i = 0; i < a.rows; ++i) {
      QLineEdit* box = editor.name_box(a.names, i);
      ASSERT_NE(box, nullptr);
      QComboBox* list = editor.kind_list(a.kinds, i);
      ASSERT_NE(list, nullptr);
      EXPECT_TRUE(list->isEditable());
      EXPECT_EQ(list->count(), 2);
    }
    EXPECT_EQ(
        editor.window->findChild<QLineEdit*>(QStringLiteral("%1(%2)").arg(a.names).arg(a.rows)),
        nullptr);
  }
  EXPECT_EQ(editor.name_box("Text22", 13)->text(), QStringLiteral("振替結果コード"));
  EXPECT_EQ(editor.kind_list("Combo12", 13)->currentText(), QStringLiteral("文字"));
  EXPECT_EQ(editor.kind_list("Combo22", 13)->currentText(), QStringLiteral("数字"));

  // Row labels are the field numbers, right-aligned in two places, and name the box.
  EXPECT_EQ(editor.label_of(editor.name_box("Text2", 9)), QStringLiteral("[10]"));
  EXPECT_EQ(editor.label_of(editor.name_box("Text24", 0)), QStringLiteral("[ 1]"));
}

TEST(FieldOptionsEditor, ShowsOnlyTheSelectedTransferKindsPage) {
  AppState app = fresh_app();
  OpenEditor editor(app);
  auto* tabs = editor.window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("振込"));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("振替"));
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_TRUE(editor.name_box("Text1", 0)->isVisible());
  EXPECT_FALSE(editor.name_box("Text21", 0)->isEnabled());
  tabs->setCurrentIndex(1);
  EXPECT_TRUE(editor.name_box("Text21", 0)->isVisible());
  EXPECT_TRUE(editor.name_box("Text21", 0)->isEnabled());
  EXPECT_FALSE(editor.name_box("Text1", 0)->isVisible());
  EXPECT_FALSE(editor.name_box("Text1", 0)->isEnabled());
}

TEST(FieldOptionsEditor, ShowsNamesWithoutTrailingBlanksAndStoresTheBoxesAsTheyStand) {
  AppState app = fresh_app();
  app.system.field_names.of(TransferKind::Credit, RecordKind::Header)[4] =
      QStringLiteral("会社名  ");
  app.system.field_kinds.of(TransferKind::Debit, RecordKind::End)[1] = QString();  // short tbk.ini
  OpenEditor editor(app);
  EXPECT_EQ(editor.name_box("Text1", 4)->text(), QStringLiteral("会社名"));
  EXPECT_EQ(editor.kind_list("Combo24", 1)->currentText(), QStringLiteral("数字"));

  editor.retype(editor.name_box("Text2", 8), QStringLiteral(" 受取人名 "));
  editor.retype(editor.name_box("Text22", 2), QString());
  editor.kind_list("Combo13", 3)->setCurrentText(QStringLiteral("数字"));
  editor.kind_list("Combo21", 1)->setCurrentText(QStringLiteral("文字"));
  QLineEdit* typed_kind = editor.kind_list("Combo11", 4)->lineEdit();
  typed_kind->clear();
  testing::type_text(typed_kind, QStringLiteral("文字 "));
  QTest::keyClick(typed_kind, Qt::Key_Return);
  EXPECT_EQ(editor.kind_list("Combo11", 4)->count(), 2) << "typed text is no new entry";
  EXPECT_EQ(name_of(app, TransferKind::Credit, RecordKind::Data, 9), QStringLiteral("預金者名"))
      << "nothing is stored before OK";

  editor.click("Command1(1)");
  EXPECT_EQ(name_of(app, TransferKind::Credit, RecordKind::Data, 9), QStringLiteral(" 受取人名 "));
  EXPECT_EQ(name_of(app, TransferKind::Debit, RecordKind::Data, 3), QString());
  EXPECT_EQ(name_of(app, TransferKind::Credit, RecordKind::Header, 5), QStringLiteral("会社名"));
  EXPECT_EQ(kind_of(app, TransferKind::Credit, RecordKind::Trailer, 4), QStringLiteral("N"));
  EXPECT_EQ(kind_of(app, TransferKind::Debit, RecordKind::Header, 2), QStringLiteral("C"));
  EXPECT_EQ(kind_of(app, TransferKind::Credit, RecordKind::Header, 5), QStringLiteral("N"))
      << "only exactly 文字 is a character kind";
  EXPECT_EQ(kind_of(app, TransferKind::Debit, RecordKind::End, 2), QStringLiteral("N"));
  EXPECT_EQ(kind_of(app, TransferKind::Debit, RecordKind::End, 1), QStringLiteral("N"));
  EXPECT_EQ(app.open_windows.count(WindowSlot::FieldOptions), 0);
}

TEST(FieldOptionsEditor, CancelStoresNothing) {
  AppState app = fresh_app();
  const SystemSettings before = app.system;
  OpenEditor editor(app);
  editor.retype(editor.name_box("Text23", 3), QStringLiteral("件数"));
  editor.kind_list("Combo12", 9)->setCurrentText(QStringLiteral("文字"));
  editor.click("Command1(0)");
  EXPECT_EQ(app.system.field_names, before.field_names);
  EXPECT_EQ(app.system.field_kinds, before.field_kinds);
  EXPECT_EQ(app.open_windows.count(WindowSlot::FieldOptions), 0);
}

// Only half-width spaces are blanks here: a full-width space is a character of
// the name, on loading and for ﾌﾞﾗﾝｸ初期値ｾｯﾄ alike.
TEST(FieldOptionsEditor, BlankDefaultsRefillOnlyEmptyOrBlankNames) {
  AppState app = fresh_app();
  app.system.field_names.of(TransferKind::Debit, RecordKind::Trailer)[6] = QString();
  app.system.field_names.of(TransferKind::Credit, RecordKind::Header)[4] =
      QStringLiteral("会社名　 ");
  OpenEditor editor(app);
  EXPECT_EQ(editor.name_box("Text23", 6)->text(), QString());
  EXPECT_EQ(editor.name_box("Text1", 4)->text(), QStringLiteral("会社名　"));
  editor.retype(editor.name_box("Text2", 9), QString());
  editor.retype(editor.name_box("Text21", 5), QStringLiteral("   "));
  editor.retype(editor.name_box("Text4", 1), QStringLiteral("　　"));  // typed, not a blank
  editor.retype(editor.name_box("Text1", 1), QStringLiteral("種別  "));
  editor.kind_list("Combo12", 9)->setCurrentText(QStringLiteral("文字"));

  editor.click("Command1(2)");
  EXPECT_EQ(editor.name_box("Text2", 9)->text(), QStringLiteral("振込金額"));
  EXPECT_EQ(editor.name_box("Text21", 5)->text(), QStringLiteral("振替指定日"));
  EXPECT_EQ(editor.name_box("Text4", 1)->text(), QStringLiteral("　　"));
  EXPECT_EQ(editor.name_box("Text1", 4)->text(), QStringLiteral("会社名　"));
  EXPECT_EQ(editor.name_box("Text23", 6)->text(), QStringLiteral("振替不能金額"));
  EXPECT_EQ(editor.name_box("Text1", 1)->text(), QStringLiteral("種別"));
  EXPECT_EQ(editor.kind_list("Combo12", 9)->currentText(), QStringLiteral("文字"))
      << "the kinds are not touched";
  EXPECT_EQ(name_of(app, TransferKind::Debit, RecordKind::Trailer, 7), QString())
      << "nothing is stored before OK";

  editor.click("Command1(1)");
  EXPECT_EQ(name_of(app, TransferKind::Debit, RecordKind::Trailer, 7),
            QStringLiteral("振替不能金額"));
  EXPECT_EQ(name_of(app, TransferKind::Credit, RecordKind::Header, 2), QStringLiteral("種別"));
}

TEST(FieldOptionsEditor, AKindSetToCharacterChangesTheCheckOfTheNextConversion) {
  AppState app = fresh_app();
  const QString kana_amount = QStringLiteral("ｲﾁﾏﾝ");
  ASSERT_EQ(check_field(app.system, app.company, kana_amount, 2, 10), FieldCheck::Fails);
  ASSERT_EQ(check_field(app.system, app.company, QStringLiteral("0000010000"), 2, 10),
            FieldCheck::Passes);

  OpenEditor editor(app);
  editor.kind_list("Combo12", 9)->setCurrentText(QStringLiteral("文字"));
  editor.click("Command1(1)");
  EXPECT_EQ(check_field(app.system, app.company, kana_amount, 2, 10), FieldCheck::Passes);
  EXPECT_EQ(check_field(app.system, app.company, QStringLiteral("0000010000"), 2, 10),
            FieldCheck::Fails)
      << "digits are not in the kana set";
  // 振替 keeps its own kinds.
  app.system.transfer_kind = TransferKind::Debit;
  EXPECT_EQ(check_field(app.system, app.company, kana_amount, 2, 10), FieldCheck::Fails);
}

// The settings file keeps names between double quotes with nothing escaped.
TEST(FieldOptionsEditor, RefusesANameHoldingADoubleQuoteAndStaysOpen) {
  AppState app = fresh_app();
  const SystemSettings before = app.system;
  OpenEditor editor(app);
  editor.retype(editor.name_box("Text1", 4), QStringLiteral("会社名"));
  editor.retype(editor.name_box("Text23", 4), QStringLiteral("振替\"済\"金額"));
  editor.kind_list("Combo12", 9)->setCurrentText(QStringLiteral("文字"));
  QString message;
  answer_next_notice(&message);
  editor.click("Command1(1)");
  EXPECT_TRUE(message.startsWith(QStringLiteral("振替 トレーラの項目[5]（振替済金額）の名前")))
      << message.toStdString();
  ASSERT_TRUE(editor.window);
  EXPECT_TRUE(editor.window->isVisible());
  EXPECT_EQ(editor.window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"))->currentIndex(), 1)
      << "the page with the name is shown";
  EXPECT_EQ(app.system.field_names, before.field_names);
  EXPECT_EQ(app.system.field_kinds, before.field_kinds);
  EXPECT_EQ(app.open_windows.count(WindowSlot::FieldOptions), 1);

  editor.retype(editor.name_box("Text23", 4), QStringLiteral("振替済金額"));
  editor.click("Command1(1)");
  EXPECT_EQ(kind_of(app, TransferKind::Credit, RecordKind::Data, 10), QStringLiteral("C"));
}

}  // namespace
}  // namespace tsubakuro
