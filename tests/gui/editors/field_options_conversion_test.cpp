// What the field names and kinds editor stores is what the next conversion checks
// and names in its log.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/conversion/conversion_run.h"
#include "core/text/cp932.h"
#include "gui/editors/field_options_editor.h"
#include "options_test_support.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

// A company whose credit list "in.csv" feeds data fields 2 to 15 from columns 1
// to 14, with one payment of 10000 that passes every check of the built-in kinds.
void set_up_company(AppState& app) {
  app.system.current_company = QStringLiteral("ｼﾐｭﾚｰｼｮﾝ");
  app.system.options.record_length = 120;
  TransferSettings& credit = app.company.credit;
  credit.input_file = QStringLiteral("in.csv");
  credit.output_file = QStringLiteral("out.dat");
  credit.header_values = {
      QStringLiteral("21"),   QStringLiteral("0"),       QStringLiteral("1234567890"),
      QStringLiteral("ﾃｽﾄ"),  QStringLiteral("0425"),    QStringLiteral("1"),
      QStringLiteral("ﾐｽﾞﾎ"), QStringLiteral("1"),       QStringLiteral("ﾎﾝﾃﾝ"),
      QStringLiteral("1"),    QStringLiteral("1234567"), QString()};
  for (int i = 0; i < kBodyColumnCount; ++i) credit.body_columns[i] = QString::number(i + 1);
  credit.skip_header_rows = QStringLiteral("0");
  credit.enabled = true;
  testing::write_cp932_file(
      QStringLiteral("in.csv"),
      QStringLiteral("0001,ﾐｽﾞﾎ,001,ﾎﾝﾃﾝ,,1,1234567,ﾔﾏﾀﾞ ﾀﾛｳ,10000,0,1,2,,\r\n"));
}

QStringList convert_and_read_log(AppState& app) {
  ConversionRun run(app.system, app.company);
  while (run.running()) run.step();
  EXPECT_TRUE(run.result().message().isEmpty()) << run.result().message().toStdString();
  return decode_cp932(testing::read_file(app.system.current_company + QStringLiteral(".log")))
      .split(QStringLiteral("\r\n"));
}

TEST(FieldOptionsEditor, TheNextConversionChecksAndNamesTheFieldAsEdited) {
  testing::ScopedWorkingDir folder;
  AppState app;
  init_field_dictionary(app.system);
  set_up_company(app);
  const QStringList before = convert_and_read_log(app);
  ASSERT_FALSE(before.join(u'\n').contains(QStringLiteral("振込金額"))) << "the payment is sound";

  auto* editor = new FieldOptionsEditor(app);
  editor->show();
  auto* name = editor->findChild<QLineEdit*>(QStringLiteral("Text2(9)"));
  ASSERT_NE(name, nullptr);
  name->clear();
  testing::type_text(name, QStringLiteral("支払額"));
  editor->findChild<QComboBox*>(QStringLiteral("Combo12(9)"))
      ->setCurrentText(QStringLiteral("文字"));
  testing::click_button_as_user(editor->findChild<QPushButton*>(QStringLiteral("Command1(1)")));
  testing::settle_events();

  // Digits fail the character check, and the message uses the new name.
  const QStringList after = convert_and_read_log(app);
  EXPECT_EQ(after.size(), before.size() + 1) << after.join(u'\n').toStdString();
  EXPECT_TRUE(after.join(u'\n').contains(QStringLiteral("支払額")))
      << after.join(u'\n').toStdString();
}

}  // namespace
}  // namespace tsubakuro
