#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>

#include "gui/editors/dialog_responder.h"
#include "gui/editors/editors_fixture.h"

namespace tsubakuro {
namespace {

using testing::DialogAnswer;
using testing::DialogResponder;

QStringList entries(QComboBox* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names.append(list->itemText(i));
  return names;
}

class CompanySwitchTest : public testing::EditorsTest {
 protected:
  QWidget* open_switch() {
    main_->open_company_switch();
    return open_window(QStringLiteral("切替"));
  }
};

TEST_F(CompanySwitchTest, ListsOnlyFilesEndingInLowerCaseCfg) {
  save_company(QStringLiteral("東京"), company_using(true, false));
  save_company(QStringLiteral("大阪"), company_using(true, true));
  testing::write_file(QStringLiteral("名古屋.CFG"), "");
  testing::write_file(QStringLiteral("福岡.cfg.bak"), "");
  testing::write_file(QStringLiteral("tbk.ini"), "");
  QDir().mkdir(QStringLiteral("札幌.cfg"));

  QWidget* window = open_switch();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("切替"));
  EXPECT_EQ(entries(control<QComboBox>(window, QStringLiteral("社名"))),
            (QStringList{QStringLiteral("大阪"), QStringLiteral("東京")}));
}

TEST_F(CompanySwitchTest, PreselectsAndLoadsTheCurrentCompany) {
  CompanySettings tokyo = company_using(false, true);
  tokyo.credit.input_file = QStringLiteral("tokyo.csv");
  save_company(QStringLiteral("大阪"), company_using(true, false));
  save_company(QStringLiteral("東京"), tokyo);
  app_.system.current_company = QStringLiteral("東京");

  QWidget* window = open_switch();
  EXPECT_EQ(control<QComboBox>(window, QStringLiteral("社名"))->currentText(),
            QStringLiteral("東京"));
  EXPECT_FALSE(control<QRadioButton>(window, QStringLiteral("Option1(0)"))->isEnabled());
  EXPECT_TRUE(control<QRadioButton>(window, QStringLiteral("Option1(1)"))->isEnabled());
  EXPECT_EQ(app_.open_windows.count(WindowSlot::CompanySwitch), 1);
  click(window, QStringLiteral("Command1(1)"));
  EXPECT_EQ(app_.company.credit.input_file, QStringLiteral("tokyo.csv"));
}

TEST_F(CompanySwitchTest, FallsBackToTheFirstCompanyWhenTheCurrentOneIsGone) {
  CompanySettings osaka = company_using(true, false);
  osaka.credit.input_file = QStringLiteral("osaka.csv");
  save_company(QStringLiteral("大阪"), osaka);
  save_company(QStringLiteral("東京"), company_using(true, true));
  app_.system.current_company = QStringLiteral("京都");

  DialogResponder responder({});
  QWidget* window = open_switch();
  EXPECT_EQ(control<QComboBox>(window, QStringLiteral("社名"))->currentText(),
            QStringLiteral("大阪"));
  EXPECT_TRUE(responder.seen().isEmpty()) << responder.seen().join(u'\n').toStdString();
  click(window, QStringLiteral("Command1(1)"));
  EXPECT_EQ(app_.system.current_company, QStringLiteral("大阪"));
  EXPECT_EQ(app_.company.credit.input_file, QStringLiteral("osaka.csv"));
}

TEST_F(CompanySwitchTest, KeepsAKindTheCompanyDoesNotUseSelectedButDisabled) {
  save_company(QStringLiteral("東京"), company_using(true, false));
  app_.system.current_company = QStringLiteral("東京");
  app_.system.transfer_kind = TransferKind::Debit;

  QWidget* window = open_switch();
  auto* debit = control<QRadioButton>(window, QStringLiteral("Option1(1)"));
  EXPECT_TRUE(debit->isChecked());
  EXPECT_FALSE(debit->isEnabled());
  EXPECT_TRUE(control<QRadioButton>(window, QStringLiteral("Option1(0)"))->isEnabled());
  EXPECT_TRUE(control<QPushButton>(window, QStringLiteral("Command1(1)"))->isEnabled());
}

TEST_F(CompanySwitchTest, OkSetsCompanyKindAndTitle) {
  save_company(QStringLiteral("大阪"), company_using(true, true));
  save_company(QStringLiteral("東京"), company_using(true, true));
  QWidget* window = open_switch();
  auto* list = control<QComboBox>(window, QStringLiteral("社名"));
  list->setCurrentIndex(1);
  list->activated(1);
  click(window, QStringLiteral("Option1(1)"));
  click(window, QStringLiteral("Command1(1)"));

  EXPECT_EQ(app_.system.current_company, QStringLiteral("東京"));
  EXPECT_EQ(app_.system.transfer_kind, TransferKind::Debit);
  EXPECT_EQ(main_->windowTitle(), QStringLiteral("ツバクロ　東京(振替)"));
  EXPECT_EQ(open_window(QStringLiteral("切替")), nullptr);
  EXPECT_EQ(app_.open_windows.count(WindowSlot::CompanySwitch), 0);
}

TEST_F(CompanySwitchTest, CancelKeepsTheCurrentCompanyAndItsSettings) {
  CompanySettings osaka = company_using(true, false);
  osaka.credit.input_file = QStringLiteral("osaka.csv");
  save_company(QStringLiteral("大阪"), osaka);
  CompanySettings tokyo = company_using(false, true);
  tokyo.credit.input_file = QStringLiteral("tokyo.csv");
  save_company(QStringLiteral("東京"), tokyo);
  app_.system.current_company = QStringLiteral("東京");
  app_.company = tokyo;

  QWidget* window = open_switch();
  auto* list = control<QComboBox>(window, QStringLiteral("社名"));
  list->setCurrentIndex(0);
  list->activated(0);
  EXPECT_TRUE(control<QRadioButton>(window, QStringLiteral("Option1(0)"))->isEnabled());
  click(window, QStringLiteral("Command1(0)"));
  EXPECT_EQ(app_.system.current_company, QStringLiteral("東京"));
  EXPECT_EQ(app_.company, tokyo);
  EXPECT_EQ(main_->windowTitle(), QStringLiteral("ツバクロ"));
}

TEST_F(CompanySwitchTest, ATypedNameNeverTakesThePickedCompanysSettings) {
  CompanySettings osaka = company_using(true, false);
  osaka.credit.input_file = QStringLiteral("osaka.csv");
  save_company(QStringLiteral("大阪"), osaka);
  QWidget* window = open_switch();
  auto* list = control<QComboBox>(window, QStringLiteral("社名"));
  list->setEditText(QStringLiteral("京都"));
  DialogResponder responder({});
  click(window, QStringLiteral("Command1(1)"));
  EXPECT_TRUE(responder.seen().isEmpty()) << responder.seen().join(u'\n').toStdString();
  EXPECT_EQ(app_.system.current_company, QStringLiteral("京都"));
  EXPECT_EQ(app_.company, CompanySettings{});
}

TEST_F(CompanySwitchTest, OffersOnlyCancelWithoutAUsableCompany) {
  QWidget* window = open_switch();
  EXPECT_FALSE(control<QPushButton>(window, QStringLiteral("Command1(1)"))->isEnabled());
  click(window, QStringLiteral("Command1(0)"));
  settle();

  save_company(QStringLiteral("休眠"), company_using(false, false));
  window = open_switch();
  EXPECT_FALSE(control<QPushButton>(window, QStringLiteral("Command1(1)"))->isEnabled());
  EXPECT_FALSE(control<QRadioButton>(window, QStringLiteral("Option1(0)"))->isEnabled());
  EXPECT_FALSE(control<QRadioButton>(window, QStringLiteral("Option1(1)"))->isEnabled());
}

class CompanyPickerTest : public testing::EditorsTest {
 protected:
  QWidget* open_picker() {
    main_->open_company_picker();
    return open_window(QStringLiteral("環境設定切替"));
  }
};

TEST_F(CompanyPickerTest, ChangeOpensTheEditorOnTheChosenCompany) {
  save_company(QStringLiteral("大阪"), company_using(true, false));
  save_company(QStringLiteral("東京"), company_using(true, false));
  app_.system.current_company = QStringLiteral("東京");

  QWidget* picker = open_picker();
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->windowTitle(), QStringLiteral("環境設定"));
  EXPECT_EQ(control<QComboBox>(picker, QStringLiteral("社名"))->currentText(),
            QStringLiteral("東京"));
  click(picker, QStringLiteral("Command1(2)"));

  EXPECT_EQ(open_window(QStringLiteral("環境設定切替")), nullptr);
  QWidget* editor = open_window(QStringLiteral("環境設定"));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), QStringLiteral("環境設定（変更）：東京"));
  EXPECT_EQ(app_.open_windows.count(WindowSlot::CompanyPicker), 0);
  EXPECT_EQ(app_.open_windows.count(WindowSlot::CompanyEditor), 1);
}

TEST_F(CompanyPickerTest, WithoutCompaniesOnlyNewAndCancelAreOffered) {
  QWidget* picker = open_picker();
  EXPECT_TRUE(control<QPushButton>(picker, QStringLiteral("Command1(1)"))->isEnabled());
  EXPECT_FALSE(control<QPushButton>(picker, QStringLiteral("Command1(2)"))->isEnabled());
  click(picker, QStringLiteral("Command1(1)"));
  QWidget* editor = open_window(QStringLiteral("環境設定"));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), QStringLiteral("環境設定（新規）"));
}

}  // namespace
}  // namespace tsubakuro
