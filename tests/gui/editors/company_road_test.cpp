#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include "gui/editors/dialog_responder.h"
#include "gui/editors/editors_fixture.h"

namespace tsubakuro {
namespace {

using testing::DialogAnswer;
using testing::DialogResponder;

class CompanyRoadTest : public testing::EditorsTest {
 protected:
  void use_menu(const char* item) {
    auto* action = main_->findChild<QAction*>(QString::fromUtf8(item));
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
  }
  static void type(QWidget* window, const QString& box, const QString& text) {
    if (auto* line = control<QLineEdit>(window, box)) {
      line->clear();
      QTest::keyClicks(line, text);
    }
  }
};

// A new company is registered, becomes the current one, converts its payment
// list and is changed again, all on a fresh working folder through the menus.
TEST_F(CompanyRoadTest, RegisterSwitchConvertAndChange) {
  testing::write_cp932_file(QStringLiteral("kyuyo.csv"),
                            QStringLiteral("0310,ﾐﾅﾄｷﾞﾝｺｳ,001,ﾎﾝﾃﾝ,1,1234567,ﾔﾏﾀﾞ ﾀﾛｳ,285000\r\n"
                                           "0325,ﾂﾊﾞｷｼﾝｷﾝ,318,ｷﾀﾏﾁ,1,3952848,ｽｽﾞｷ ﾊﾅｺ,243500\r\n"));
  use_menu("環境設定M2");
  QWidget* picker = open_window(QStringLiteral("環境設定切替"));
  ASSERT_NE(picker, nullptr);
  click(picker, QStringLiteral("Command1(1)"));
  QWidget* editor = open_window(QStringLiteral("環境設定"));
  ASSERT_NE(editor, nullptr);
  type(editor, QStringLiteral("Text1(0)"), QStringLiteral("kyuyo.csv"));
  type(editor, QStringLiteral("Text1(1)"), QStringLiteral("FURIKOMI.DAT"));
  click(editor, QStringLiteral("Check1"));
  type(editor, QStringLiteral("Text2(0)"), QStringLiteral("21"));
  type(editor, QStringLiteral("Text2(2)"), QStringLiteral("1234567890"));
  type(editor, QStringLiteral("Text2(1)"), QStringLiteral("0"));
  control<QLineEdit>(editor, QStringLiteral("Text2(3)"))->setText(QStringLiteral("ﾄｳｷｮｳｼｮｳｼﾞ"));
  type(editor, QStringLiteral("Text2(9)"), QStringLiteral("1"));
  QTest::keyClicks(control<QComboBox>(editor, QStringLiteral("Combo1(0)")), QStringLiteral("1"));
  for (int field : {1, 2, 3, 5, 6, 7, 8}) {
    control<QComboBox>(editor, QStringLiteral("Combo1(%1)").arg(field))
        ->setEditText(QString::number(field < 5 ? field + 1 : field));
  }
  click(editor, QStringLiteral("Check2"));  // the list has no footer row
  {
    DialogResponder responder({{QStringLiteral("入力メッセージ"), 1, QStringLiteral("Tokyo")}});
    click(editor, QStringLiteral("Command2(1)"));
    ASSERT_TRUE(responder.all_answered()) << responder.seen().join(u'\n').toStdString();
  }
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), nullptr);
  settle();

  use_menu("切替M2");
  QWidget* company_switch = open_window(QStringLiteral("切替"));
  ASSERT_NE(company_switch, nullptr);
  EXPECT_EQ(control<QComboBox>(company_switch, QStringLiteral("社名"))->currentText(),
            QStringLiteral("Tokyo"));
  click(company_switch, QStringLiteral("Command1(1)"));
  EXPECT_EQ(app_.system.current_company, QStringLiteral("Tokyo"));
  EXPECT_EQ(main_->windowTitle(), QStringLiteral("ツバクロ　Tokyo(振込)"));
  settle();

  use_menu("変換処理M2");
  QWidget* prompt = open_window(QStringLiteral("変換日付入力"));
  ASSERT_NE(prompt, nullptr);
  type(prompt, QStringLiteral("Text1(0)"), QStringLiteral("12"));
  type(prompt, QStringLiteral("Text1(1)"), QStringLiteral("25"));
  {
    DialogResponder responder({{QStringLiteral("確認メッセージ"), 0}});
    click(prompt, QStringLiteral("Command1(1)"));
    for (int i = 0; i < 500 && !responder.all_answered(); ++i) QTest::qWait(10);
    EXPECT_EQ(responder.seen(), QStringList{QStringLiteral("変換終了|変換が終了しました。")});
  }
  // Header, two data records, trailer and end record.
  EXPECT_EQ(QFileInfo(QStringLiteral("FURIKOMI.DAT")).size(), 5 * 120);
  settle();

  use_menu("環境設定M2");
  picker = open_window(QStringLiteral("環境設定切替"));
  ASSERT_NE(picker, nullptr);
  click(picker, QStringLiteral("Command1(2)"));
  editor = open_window(QStringLiteral("環境設定"));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text1(0)"))->text(),
            QStringLiteral("kyuyo.csv"));
  EXPECT_TRUE(control<QCheckBox>(editor, QStringLiteral("Check1"))->isChecked());
  EXPECT_EQ(control<QComboBox>(editor, QStringLiteral("Combo1(0)"))->currentText(),
            QStringLiteral("1"));
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text2(4)"))->text(), QStringLiteral("1225"));
  type(editor, QStringLiteral("Text1(1)"), QStringLiteral("NEW.DAT"));
  {
    DialogResponder responder({{QStringLiteral("選択メッセージ"), 1}});
    click(editor, QStringLiteral("Command2(1)"));
    ASSERT_TRUE(responder.all_answered()) << responder.seen().join(u'\n').toStdString();
  }

  const Result<LoadedCompanySettings> loaded = load_company_settings(QStringLiteral("Tokyo"));
  ASSERT_TRUE(loaded.ok());
  const CompanySettings& saved = loaded->settings;
  EXPECT_EQ(saved.credit.input_file, QStringLiteral("kyuyo.csv"));
  EXPECT_EQ(saved.credit.output_file, QStringLiteral("NEW.DAT"));
  EXPECT_EQ(saved.credit.header_values[2], QStringLiteral("1234567890"));
  EXPECT_EQ(saved.credit.body_columns[8], QStringLiteral("8"));
  EXPECT_TRUE(saved.credit.enabled);
  EXPECT_FALSE(saved.debit.enabled);
  EXPECT_EQ(app_.system.current_company, QStringLiteral("Tokyo"));
}

}  // namespace
}  // namespace tsubakuro
