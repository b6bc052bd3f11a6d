#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "core/zengin/bank_list.h"
#include "gui/app/dialog_driver.h"
#include "gui/editors/company_editor.h"
#include "gui/editors/editors_fixture.h"

namespace tsubakuro {
namespace {

// Header values 5 to 8 of the 振込 page: 取引銀行番号, 取引銀行名, 取引支店番号, 取引支店名.
const QString kBankCode = QStringLiteral("Text2(5)");
const QString kBankName = QStringLiteral("Text2(6)");
const QString kBranchCode = QStringLiteral("Text2(7)");
const QString kBranchName = QStringLiteral("Text2(8)");
const QString kBankHint = QStringLiteral("BankHint2(0)");
const QString kBranchHint = QStringLiteral("BankHint2(1)");
const QString kNotInList = QStringLiteral("銀行一覧にありません");

// The tests type codes of banks and branches that have long kept them, and read
// the names the shipped list gives them.
class BankHintsTest : public testing::EditorsTest {
 protected:
  QWidget* open_editor(EditMode mode, const QString& company = {}) {
    main_->show_child(new CompanyEditor(app_, mode, company));
    return open_window(QStringLiteral("環境設定"));
  }

  QLineEdit* box(const QString& name) { return control<QLineEdit>(editor_, name); }
  QLabel* hint(const QString& name) { return control<QLabel>(editor_, name); }

  void type(const QString& name, const QString& text) {
    QLineEdit* line = box(name);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    // Key clicks carry ASCII only; kana arrive as an input method would put them.
    line->insert(text);
  }

  static bool shown_red(QLabel* label) {
    return label->palette().color(QPalette::WindowText) == QColor(Qt::red);
  }

  QWidget* editor_ = nullptr;
};

TEST_F(BankHintsTest, TypedCodesFillEmptyNamesAndShowTheKanjiNames) {
  ASSERT_TRUE(shipped_bank_list());
  editor_ = open_editor(EditMode::New);
  ASSERT_NE(editor_, nullptr);

  // Typed digit by digit: the name of every code on the way is replaced.
  type(kBankCode, QStringLiteral("0005"));
  EXPECT_EQ(box(kBankName)->text(), QStringLiteral("ﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ"));
  EXPECT_EQ(hint(kBankHint)->text(), QStringLiteral("三菱ＵＦＪ"));
  EXPECT_FALSE(shown_red(hint(kBankHint)));
  type(kBranchCode, QStringLiteral("001"));
  EXPECT_EQ(box(kBranchName)->text(), QStringLiteral("ﾎﾝﾃﾝ"));
  EXPECT_EQ(hint(kBranchHint)->text(), QStringLiteral("本店"));
  EXPECT_EQ(hint(kBranchHint)->accessibleName(), QStringLiteral("本店"));

  // Another bank: the filled names follow it, the branch's too.
  type(kBankCode, QStringLiteral("0001"));
  EXPECT_EQ(box(kBankName)->text(), QStringLiteral("ﾐｽﾞﾎ"));
  EXPECT_EQ(box(kBranchName)->text(), QStringLiteral("ﾄｳｷﾖｳ"));
  EXPECT_EQ(hint(kBranchHint)->text(), QStringLiteral("東京営業部"));

  // A code the list does not know: red, and the name it had filled is taken back.
  type(kBankCode, QStringLiteral("9999"));
  EXPECT_EQ(hint(kBankHint)->text(), kNotInList);
  EXPECT_TRUE(shown_red(hint(kBankHint)));
  EXPECT_EQ(box(kBankName)->text(), QString());
  EXPECT_EQ(hint(kBranchHint)->text(), QString());  // no bank to judge the branch by

  // A name the user typed stays whatever code follows.
  type(kBankName, QStringLiteral("ﾐｽﾞﾎｷﾞﾝｺｳ"));
  type(kBankCode, QStringLiteral("0001"));
  EXPECT_EQ(box(kBankName)->text(), QStringLiteral("ﾐｽﾞﾎｷﾞﾝｺｳ"));
  type(kBranchCode, QStringLiteral("999"));
  EXPECT_EQ(hint(kBranchHint)->text(), kNotInList);
  EXPECT_TRUE(shown_red(hint(kBranchHint)));

  // The code is read as the record writes it: "1" is branch 001.
  type(kBranchCode, QStringLiteral("1"));
  EXPECT_EQ(hint(kBranchHint)->text(), QStringLiteral("東京営業部"));
  EXPECT_FALSE(shown_red(hint(kBranchHint)));
  type(kBankCode, QString());
  EXPECT_EQ(hint(kBankHint)->text(), QString());
}

TEST_F(BankHintsTest, LoadedCodesAreNamedButNoStoredNameChanges) {
  CompanySettings settings = company_using(true, true);
  settings.credit.header_values[5] = QStringLiteral("0001");
  settings.credit.header_values[6] = QStringLiteral("ﾐｽﾞﾎ ｷﾞﾝｺｳ");
  settings.credit.header_values[7] = QStringLiteral("001");
  settings.debit.header_values[5] = QStringLiteral("0310");
  settings.debit.header_values[7] = QStringLiteral("099");
  save_company(QStringLiteral("東京"), settings);
  editor_ = open_editor(EditMode::Change, QStringLiteral("東京"));
  ASSERT_NE(editor_, nullptr);

  EXPECT_EQ(hint(kBankHint)->text(), QStringLiteral("みずほ"));
  EXPECT_EQ(hint(kBranchHint)->text(), QStringLiteral("東京営業部"));
  EXPECT_EQ(box(kBankName)->text(), QStringLiteral("ﾐｽﾞﾎ ｷﾞﾝｺｳ"));
  EXPECT_EQ(box(kBranchName)->text(), QString());
  EXPECT_EQ(hint(QStringLiteral("BankHint21(0)"))->text(), QStringLiteral("ＧＭＯあおぞらネット"));
  EXPECT_EQ(hint(QStringLiteral("BankHint21(1)"))->text(), kNotInList);
  EXPECT_EQ(box(QStringLiteral("Text21(6)"))->text(), QString());
}

TEST_F(BankHintsTest, BankSearchFillsBothCodesAndKanaNames) {
  editor_ = open_editor(EditMode::New);
  ASSERT_NE(editor_, nullptr);
  type(kBankName, QStringLiteral("ﾌﾙｲ"));

  // ｷｬﾝｾﾙ changes nothing.
  testing::click_when_modal_shows(QStringLiteral("cmdCancel"));
  click(editor_, QStringLiteral("BankSearch2"));
  EXPECT_EQ(box(kBankName)->text(), QStringLiteral("ﾌﾙｲ"));
  EXPECT_EQ(box(kBankCode)->text(), QString());

  testing::when_modal_shows([](QWidget* search) {
    EXPECT_EQ(search->objectName(), QStringLiteral("銀行検索"));
    EXPECT_EQ(search->windowTitle(), QStringLiteral("銀行検索"));
    auto* banks = search->findChild<QTreeWidget*>(QStringLiteral("lstBank"));
    auto* branches = search->findChild<QTreeWidget*>(QStringLiteral("lstBranch"));
    auto* ok = search->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    EXPECT_FALSE(ok->isEnabled());  // no bank chosen yet
    search->findChild<QLineEdit*>(QStringLiteral("txtBank"))
        ->insert(QStringLiteral("みつびしゆー"));
    ASSERT_EQ(banks->topLevelItemCount(), 1);
    EXPECT_EQ(banks->currentItem()->text(0), QStringLiteral("0005"));
    EXPECT_FALSE(ok->isEnabled());  // a bank with branches needs one of them
    search->findChild<QLineEdit*>(QStringLiteral("txtBranch"))->insert(QStringLiteral("本店"));
    ASSERT_GE(branches->topLevelItemCount(), 1);
    branches->setCurrentItem(branches->topLevelItem(0));
    EXPECT_EQ(branches->currentItem()->text(0), QStringLiteral("001"));
    EXPECT_TRUE(ok->isEnabled());
    testing::click_button(search, QStringLiteral("cmdOK"));
  });
  click(editor_, QStringLiteral("BankSearch2"));
  EXPECT_EQ(box(kBankCode)->text(), QStringLiteral("0005"));
  EXPECT_EQ(box(kBankName)->text(), QStringLiteral("ﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ"));
  EXPECT_EQ(box(kBranchCode)->text(), QStringLiteral("001"));
  EXPECT_EQ(box(kBranchName)->text(), QStringLiteral("ﾎﾝﾃﾝ"));
  EXPECT_EQ(hint(kBankHint)->text(), QStringLiteral("三菱ＵＦＪ"));
  EXPECT_EQ(hint(kBranchHint)->text(), QStringLiteral("本店"));

  // Opened again, it starts on the bank and branch of the page.
  testing::when_modal_shows([](QWidget* search) {
    auto* banks = search->findChild<QTreeWidget*>(QStringLiteral("lstBank"));
    auto* branches = search->findChild<QTreeWidget*>(QStringLiteral("lstBranch"));
    ASSERT_NE(banks->currentItem(), nullptr);
    ASSERT_NE(branches->currentItem(), nullptr);
    EXPECT_EQ(banks->currentItem()->text(0), QStringLiteral("0005"));
    EXPECT_EQ(branches->currentItem()->text(0), QStringLiteral("001"));
    // Every control a user reaches is named.
    for (QWidget* widget : search->findChildren<QWidget*>()) {
      if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QTreeWidget*>(widget) ||
          qobject_cast<QPushButton*>(widget)) {
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
      }
    }
    testing::click_button(search, QStringLiteral("cmdCancel"));
  });
  click(editor_, QStringLiteral("BankSearch2"));
}

}  // namespace
}  // namespace tsubakuro
