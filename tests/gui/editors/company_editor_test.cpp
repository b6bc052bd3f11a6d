#include "gui/editors/company_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "core/zengin/record_layout.h"
#include "gui/editors/dialog_responder.h"
#include "gui/editors/editors_fixture.h"

namespace tsubakuro {
namespace {

using testing::DialogAnswer;
using testing::DialogResponder;
using testing::read_file;

const QString kNotice = QStringLiteral("確認メッセージ");
const QString kConfirm = QStringLiteral("選択メッセージ");
const QString kPrompt = QStringLiteral("入力メッセージ");

// Every stored value set, each to something a blank window would not show.
CompanySettings every_value_set() {
  CompanySettings settings;
  for (TransferKind kind : {TransferKind::Credit, TransferKind::Debit}) {
    TransferSettings& section = settings.section(kind);
    const QString tag = kind == TransferKind::Credit ? QStringLiteral("c") : QStringLiteral("d");
    section.input_file = QStringLiteral("/入力/%1.csv").arg(tag);
    section.output_file = QStringLiteral("/出力/%1.dat").arg(tag);
    const auto header = record_layout(kind, RecordKind::Header);
    for (int i = 0; i < kHeaderValueCount; ++i) {
      section.header_values[i] = QString::number((i + 1) % 10).repeated(header[i + 1].width);
    }
    for (int i = 0; i < kBodyColumnCount; ++i) section.body_columns[i] = QString::number(i + 3);
    section.body_columns[13] = QStringLiteral("31");  // typed, not in the list
  }
  settings.credit.skip_header_rows = QStringLiteral("2");
  settings.debit.skip_header_rows = QStringLiteral("5");
  settings.credit.enabled = true;
  settings.debit.enabled = false;
  settings.credit.skip_footer = false;
  settings.debit.skip_footer = true;
  settings.options.kana_table = QStringLiteral("ｱｲｳ");
  settings.options.crlf_each_record = true;
  settings.options.credit_20digit = true;
  settings.options.debit_20digit = false;
  settings.options.debit_trailer_zero = true;
  settings.options.debit_data_zero = false;
  settings.options.record_length = 258;
  settings.options.skip_name_check = true;
  return settings;
}

class CompanyEditorTest : public testing::EditorsTest {
 protected:
  QWidget* open_editor(EditMode mode, const QString& company = QString()) {
    main_->show_child(new CompanyEditor(app_, mode, company));
    return open_window(QStringLiteral("環境設定"));
  }

  static void select_tab(QWidget* editor, int index) {
    auto* tabs = control<QTabBar>(editor, QStringLiteral("TabStrip1"));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
  }

  static QString label_of(QWidget* editor, const QString& control_name) {
    QWidget* target = control<QWidget>(editor, control_name);
    for (QLabel* label : editor->findChildren<QLabel*>()) {
      if (label->buddy() == target) return label->text();
    }
    return {};
  }

  static CompanySettings load(const QString& name) {
    Result<LoadedCompanySettings> loaded = load_company_settings(name);
    EXPECT_TRUE(loaded.ok());
    return loaded ? std::move(loaded->settings) : CompanySettings();
  }
};

TEST_F(CompanyEditorTest, NewModeStartsBlankWithBothFootersChecked) {
  app_.company.options.kana_table = QStringLiteral("ｱｲ");  // the current company's
  QWidget* editor = open_editor(EditMode::New);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), QStringLiteral("環境設定（新規）"));
  EXPECT_EQ(control<QPushButton>(editor, QStringLiteral("Command2(1)"))->text(),
            QStringLiteral("登録"));
  auto* tabs = control<QTabBar>(editor, QStringLiteral("TabStrip1"));
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2), QStringLiteral("振込振替共通"));

  const std::array kHeaderLimits{2, 1, 10, 40, 4, 4, 15, 3, 15, 1, 7, 17};
  for (const char* prefix : {"Text2", "Text21"}) {
    for (int i = 0; i < kHeaderValueCount; ++i) {
      auto* box = control<QLineEdit>(editor, QStringLiteral("%1(%2)").arg(prefix).arg(i));
      EXPECT_TRUE(box->text().isEmpty());
      EXPECT_EQ(box->maxLength(), kHeaderLimits[i]) << prefix << i;
    }
  }
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text11(1)"))->maxLength(), 256);
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text4"))->maxLength(), 150);
  auto* body = control<QComboBox>(editor, QStringLiteral("Combo21(13)"));
  EXPECT_TRUE(body->currentText().isEmpty());
  EXPECT_EQ(body->count(), 30);
  EXPECT_EQ(control<QComboBox>(editor, QStringLiteral("Combo11"))->itemText(5),
            QStringLiteral("5"));
  EXPECT_FALSE(control<QCheckBox>(editor, QStringLiteral("Check1"))->isChecked());
  EXPECT_FALSE(control<QCheckBox>(editor, QStringLiteral("Check11"))->isChecked());
  EXPECT_TRUE(control<QCheckBox>(editor, QStringLiteral("Check2"))->isChecked());
  EXPECT_TRUE(control<QCheckBox>(editor, QStringLiteral("Check21"))->isChecked());
  EXPECT_TRUE(control<QRadioButton>(editor, QStringLiteral("Option1(0)"))->isChecked());
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text4"))->text(), QStringLiteral("ｱｲ"));
  EXPECT_EQ(control<QPushButton>(editor, QStringLiteral("Command3"))->text(),
            QStringLiteral("ｼｽﾃﾑ設定  からｺﾋﾟｰ"));
}

TEST_F(CompanyEditorTest, RowsAndOptionsAreNamedByTheWorkingFieldNames) {
  app_.system.field_names.of(TransferKind::Credit, RecordKind::Data)[11] =
      QStringLiteral("得意先番号");
  QWidget* editor = open_editor(EditMode::New);
  EXPECT_EQ(label_of(editor, QStringLiteral("Text2(4)")), QStringLiteral("振込指定日"));
  EXPECT_EQ(label_of(editor, QStringLiteral("Text21(4)")), QStringLiteral("振替指定日"));
  EXPECT_EQ(label_of(editor, QStringLiteral("Combo1(10)")), QStringLiteral("得意先番号"));
  EXPECT_EQ(label_of(editor, QStringLiteral("Combo21(12)")), QStringLiteral("振替結果コード"));
  EXPECT_EQ(control<QCheckBox>(editor, QStringLiteral("Check42"))->text(),
            QStringLiteral("得意先番号＋その他分類を２０桁の１つとして扱う"));
  EXPECT_EQ(control<QCheckBox>(editor, QStringLiteral("Check5(0)"))->text(),
            QStringLiteral("引落取引先番号＋その他分類を２０桁の１つとして扱う"));
  EXPECT_EQ(control<QCheckBox>(editor, QStringLiteral("Check5(1)"))->text(),
            QStringLiteral("振替結果ｺｰﾄﾞ(振替返済済件数、振替済金額、振替不能件数、振替不能金額)"
                           "に固定でゼロを入れる"));
  EXPECT_EQ(control<QCheckBox>(editor, QStringLiteral("Check5(2)"))->text(),
            QStringLiteral("振替結果コードに固定でゼロを入れる"));
}

TEST_F(CompanyEditorTest, SavingAfterLoadingGivesBackEveryValue) {
  save_company(QStringLiteral("基準"), every_value_set());
  save_company(QStringLiteral("東京"), every_value_set());
  QWidget* editor = open_editor(EditMode::Change, QStringLiteral("東京"));
  EXPECT_EQ(control<QPushButton>(editor, QStringLiteral("Command2(1)"))->text(),
            QStringLiteral("更新"));
  QFile::remove(QStringLiteral("東京.cfg"));

  DialogResponder responder({{kConfirm, 1}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_EQ(responder.seen(), QStringList{QStringLiteral("保存確認|保存しますか？")});
  EXPECT_EQ(read_file(QStringLiteral("東京.cfg")), read_file(QStringLiteral("基準.cfg")));
  EXPECT_EQ(load(QStringLiteral("東京")), every_value_set());
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), nullptr);
  EXPECT_EQ(app_.open_windows.count(WindowSlot::CompanyEditor), 0);
}

TEST_F(CompanyEditorTest, OnlySavingTheCurrentCompanyChangesItsSettingsInMemory) {
  CompanySettings tokyo = every_value_set();
  save_company(QStringLiteral("東京"), tokyo);
  save_company(QStringLiteral("大阪"), CompanySettings{});
  app_.system.current_company = QStringLiteral("東京");
  app_.company = tokyo;

  QWidget* editor = open_editor(EditMode::Change, QStringLiteral("大阪"));
  control<QLineEdit>(editor, QStringLiteral("Text1(0)"))->setText(QStringLiteral("大阪.csv"));
  DialogResponder responder({{kConfirm, 1}, {kConfirm, 1}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_EQ(load(QStringLiteral("大阪")).credit.input_file, QStringLiteral("大阪.csv"));
  EXPECT_EQ(app_.company, tokyo);

  editor = open_editor(EditMode::Change, QStringLiteral("東京"));
  control<QLineEdit>(editor, QStringLiteral("Text1(0)"))->setText(QStringLiteral("東京.csv"));
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_TRUE(responder.all_answered());
  EXPECT_EQ(app_.system.current_company, QStringLiteral("東京"));
  EXPECT_EQ(app_.company.credit.input_file, QStringLiteral("東京.csv"));
  EXPECT_EQ(app_.company, load(QStringLiteral("東京")));
}

TEST_F(CompanyEditorTest, AnUnknownRecordLengthIsShownAndSavedAs120) {
  CompanySettings stored = every_value_set();
  stored.options.record_length = 200;
  save_company(QStringLiteral("東京"), stored);
  QWidget* editor = open_editor(EditMode::Change, QStringLiteral("東京"));
  EXPECT_TRUE(control<QRadioButton>(editor, QStringLiteral("Option1(0)"))->isChecked());
  DialogResponder responder({{kConfirm, 1}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_EQ(load(QStringLiteral("東京")).options.record_length, 120);
}

TEST_F(CompanyEditorTest, DecliningTheSaveKeepsTheWindowAndTheFile) {
  save_company(QStringLiteral("東京"), every_value_set());
  const QByteArray before = read_file(QStringLiteral("東京.cfg"));
  QWidget* editor = open_editor(EditMode::Change, QStringLiteral("東京"));
  control<QLineEdit>(editor, QStringLiteral("Text1(0)"))->setText(QStringLiteral("x.csv"));
  DialogResponder responder({{kConfirm, 0}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_EQ(read_file(QStringLiteral("東京.cfg")), before);
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), editor);
}

TEST_F(CompanyEditorTest, RegisteringAnExistingNameAsksAgainUntilOverwriteIsAccepted) {
  save_company(QStringLiteral("東京"), every_value_set());
  QWidget* editor = open_editor(EditMode::New);
  QTest::keyClicks(control<QLineEdit>(editor, QStringLiteral("Text2(3)")), QStringLiteral("TOKYO"));
  control<QCheckBox>(editor, QStringLiteral("Check1"))->setChecked(true);

  DialogResponder responder({{kPrompt, 1, QStringLiteral("東京")},
                             {kConfirm, 0},
                             {kPrompt, 1, QStringLiteral("東京")},
                             {kConfirm, 1}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_TRUE(responder.all_answered()) << responder.seen().join(u'\n').toStdString();
  EXPECT_EQ(responder.seen(), (QStringList{QStringLiteral("新規登録|登録名称を入力してください。"),
                                           QStringLiteral("存在確認|上書きしますか？"),
                                           QStringLiteral("新規登録|登録名称を入力してください。"),
                                           QStringLiteral("存在確認|上書きしますか？")}));
  const CompanySettings saved = load(QStringLiteral("東京"));
  EXPECT_EQ(saved.credit.header_values[3], QStringLiteral("TOKYO"));
  EXPECT_TRUE(saved.credit.enabled);
  EXPECT_EQ(saved.credit.skip_header_rows, QStringLiteral("0"));
  EXPECT_TRUE(saved.debit.skip_footer);
  EXPECT_EQ(saved.options.record_length, 120);
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), nullptr);
}

TEST_F(CompanyEditorTest, CancellingTheNameSavesNothing) {
  QWidget* editor = open_editor(EditMode::New);
  DialogResponder responder({{kPrompt, 0}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_TRUE(responder.all_answered());
  EXPECT_TRUE(QDir::current().entryList({QStringLiteral("*.cfg")}).isEmpty());
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), editor);
}

TEST_F(CompanyEditorTest, ANameThatCannotNameAFileIsRefusedAndAskedAgain) {
  QWidget* editor = open_editor(EditMode::New);
  DialogResponder responder({{kPrompt, 1, QStringLiteral("東京/大阪")},
                             {kNotice, 0},
                             {kPrompt, 1, QStringLiteral("東京大阪")}});
  click(editor, QStringLiteral("Command2(1)"));
  ASSERT_EQ(responder.seen().size(), 3) << responder.seen().join(u'\n').toStdString();
  EXPECT_TRUE(responder.seen()[1].startsWith(QStringLiteral("エラー|")));
  EXPECT_TRUE(QFile::exists(QStringLiteral("東京大阪.cfg")));
  EXPECT_EQ(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
}

TEST_F(CompanyEditorTest, ADoubleQuoteIsRefusedNamingTheFieldAndTheWindowStays) {
  save_company(QStringLiteral("東京"), every_value_set());
  const QByteArray before = read_file(QStringLiteral("東京.cfg"));
  QWidget* editor = open_editor(EditMode::Change, QStringLiteral("東京"));
  auto* name_box = control<QLineEdit>(editor, QStringLiteral("Text21(3)"));
  name_box->setText(QStringLiteral("東京\"商事\""));

  DialogResponder responder({{kNotice, 0}});
  click(editor, QStringLiteral("Command2(1)"));
  ASSERT_EQ(responder.seen().size(), 1) << responder.seen().join(u'\n').toStdString();
  EXPECT_TRUE(responder.seen()[0].contains(QStringLiteral("会社名")));
  EXPECT_TRUE(responder.seen()[0].contains(QStringLiteral("振替")));
  EXPECT_EQ(read_file(QStringLiteral("東京.cfg")), before);
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), editor);
  EXPECT_EQ(name_box->text(), QStringLiteral("東京\"商事\""));
}

TEST_F(CompanyEditorTest, AFailedSaveIsToldAndTheWindowKeepsItsValues) {
  QDir().mkdir(QStringLiteral("東京.cfg"));  // nothing can be written in its place
  QWidget* editor = nullptr;
  {
    DialogResponder responder({{kNotice, 0}});  // the settings file is missing
    editor = open_editor(EditMode::Change, QStringLiteral("東京"));
    ASSERT_NE(editor, nullptr);
  }
  auto* input = control<QLineEdit>(editor, QStringLiteral("Text1(0)"));
  input->setText(QStringLiteral("給与.csv"));

  DialogResponder responder({{kConfirm, 1}, {kNotice, 0}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_TRUE(responder.all_answered()) << responder.seen().join(u'\n').toStdString();
  EXPECT_EQ(open_window(QStringLiteral("環境設定")), editor);
  EXPECT_EQ(input->text(), QStringLiteral("給与.csv"));
  EXPECT_TRUE(app_.company.credit.input_file.isEmpty());
}

TEST_F(CompanyEditorTest, OwnOptionsDisableMergedBodyListsOnEveryTabChange) {
  app_.system.company_specific = true;
  QWidget* editor = open_editor(EditMode::New);
  auto* credit_field13 = control<QComboBox>(editor, QStringLiteral("Combo1(11)"));
  auto* debit_field13 = control<QComboBox>(editor, QStringLiteral("Combo21(11)"));
  auto* debit_field14 = control<QComboBox>(editor, QStringLiteral("Combo21(12)"));
  EXPECT_TRUE(credit_field13->isEnabled());

  select_tab(editor, 2);
  click(editor, QStringLiteral("Check42"));
  click(editor, QStringLiteral("Check5(2)"));
  select_tab(editor, 0);
  EXPECT_FALSE(credit_field13->isEnabled());
  select_tab(editor, 1);
  EXPECT_TRUE(debit_field13->isEnabled());
  EXPECT_FALSE(debit_field14->isEnabled());

  select_tab(editor, 2);
  click(editor, QStringLiteral("Check42"));
  click(editor, QStringLiteral("Check5(0)"));
  select_tab(editor, 0);
  EXPECT_TRUE(credit_field13->isEnabled());
  select_tab(editor, 1);
  EXPECT_FALSE(debit_field13->isEnabled());
  EXPECT_FALSE(debit_field14->isEnabled());
}

TEST_F(CompanyEditorTest, SystemOptionsDisableTheirBodyListsForGood) {
  app_.system.options.debit_data_zero = true;
  CompanySettings stored = every_value_set();
  save_company(QStringLiteral("東京"), stored);
  QWidget* editor = open_editor(EditMode::Change, QStringLiteral("東京"));
  auto* debit_field14 = control<QComboBox>(editor, QStringLiteral("Combo21(12)"));
  select_tab(editor, 1);
  EXPECT_FALSE(debit_field14->isEnabled());
  EXPECT_TRUE(control<QComboBox>(editor, QStringLiteral("Combo21(11)"))->isEnabled());
  select_tab(editor, 0);
  // The company's own credit_20digit is on, but the system decides here.
  EXPECT_TRUE(control<QComboBox>(editor, QStringLiteral("Combo1(11)"))->isEnabled());
  select_tab(editor, 2);
  click(editor, QStringLiteral("Check5(2)"));
  select_tab(editor, 1);
  EXPECT_FALSE(debit_field14->isEnabled());

  // A disabled list keeps its value and saves it.
  DialogResponder responder({{kConfirm, 1}});
  click(editor, QStringLiteral("Command2(1)"));
  EXPECT_EQ(load(QStringLiteral("東京")).debit.body_columns[12], stored.debit.body_columns[12]);
}

TEST_F(CompanyEditorTest, CopyFromTheSystemFillsTheCommonPageWithoutSaving) {
  app_.system.options.kana_table = QStringLiteral("ｶﾅ");
  app_.system.options.crlf_each_record = true;
  app_.system.options.debit_trailer_zero = true;
  app_.system.options.record_length = 130;
  QWidget* editor = open_editor(EditMode::New);
  select_tab(editor, 2);
  click(editor, QStringLiteral("Command3"));
  EXPECT_EQ(control<QLineEdit>(editor, QStringLiteral("Text4"))->text(), QStringLiteral("ｶﾅ"));
  EXPECT_TRUE(control<QCheckBox>(editor, QStringLiteral("Check41"))->isChecked());
  EXPECT_TRUE(control<QCheckBox>(editor, QStringLiteral("Check5(1)"))->isChecked());
  EXPECT_FALSE(control<QCheckBox>(editor, QStringLiteral("Check42"))->isChecked());
  EXPECT_TRUE(control<QRadioButton>(editor, QStringLiteral("Option1(3)"))->isChecked());
  EXPECT_TRUE(QDir::current().entryList({QStringLiteral("*.cfg")}).isEmpty());
}

TEST_F(CompanyEditorTest, BrowseFillsTheBoxOnlyWhenAFileWasChosen) {
  testing::write_file(QStringLiteral("支払.csv"), "1\r\n");
  QWidget* editor = open_editor(EditMode::New);
  auto* output = control<QLineEdit>(editor, QStringLiteral("Text11(1)"));
  output->setText(QStringLiteral("前.dat"));
  select_tab(editor, 1);

  const QString chooser = QStringLiteral("ファイル選択");
  {
    DialogResponder responder({{chooser, DialogAnswer::kCloseBox}});
    click(editor, QStringLiteral("Command11(1)"));
    EXPECT_TRUE(responder.all_answered());
    EXPECT_EQ(output->text(), QStringLiteral("前.dat"));
  }
  auto select_first_file = [](QWidget* dialog) {
    dialog->findChild<QListWidget*>(QStringLiteral("File1"))->setCurrentRow(0);
  };
  DialogResponder responder({{chooser, 1, {}, select_first_file}});
  click(editor, QStringLiteral("Command11(1)"));
  EXPECT_TRUE(responder.all_answered());
  EXPECT_EQ(output->text(), QDir::currentPath() + QStringLiteral("/支払.csv"));
}

}  // namespace
}  // namespace tsubakuro
