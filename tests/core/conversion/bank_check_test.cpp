#include <gtest/gtest.h>

#include <optional>

#include "core/text/cp932.h"
#include "run_fixture.h"

namespace tsubakuro {
namespace {

using testing::RunFixture;
using testing::write_cp932_file;

const QString kList = QStringLiteral(
    "#zengin-code\t1.0.0-p20250131\t2025-01-31\n"
    "0001\tﾐｽﾞﾎ\tみずほ\n"
    "001\tﾎﾝﾃﾝ\t本店\n"
    "002\tﾄｳｷﾖｳ\t東京\n"
    "0310\tｼﾞ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ\tＧＭＯあおぞらネット\n"
    "101\tﾎｳｼﾞﾝ\t法人営業部\n"
    "0005\tﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ\t三菱ＵＦＪ\n"
    "123\tｷﾞﾝｻﾞ\t銀座\n");

QString row(const QString& bank, const QString& bank_name, const QString& branch,
            const QString& branch_name) {
  return QStringLiteral("%1,%2,%3,%4,,1,1234567,ﾀﾅｶ,100,,,,,")
      .arg(bank, bank_name, branch, branch_name);
}

class BankCheckTest : public ::testing::Test, public RunFixture {
 protected:
  static void write_list(const QStringList& rows) {
    QString text;
    for (const QString& line : rows) text += line + QStringLiteral("\r\n");
    write_cp932_file(QStringLiteral("in.csv"), text);
  }

  // The log between the start and the closing marker.
  QStringList convert_rows(const QStringList& rows) {
    write_list(rows);
    auto run = make_run();
    run->set_bank_list(BankList::parse(kList).value());
    run_all(*run);
    has_errors = run->has_errors();
    EXPECT_TRUE(run->result().ok());
    QStringList lines = log_lines();
    return lines.mid(2, lines.size() - 3);
  }

  // Bank name and branch name of data record `n` (from 1), as written.
  QString names_written(int n) {
    const QString record = decode_cp932(output_records()[n]);
    return record.mid(5, 15) + u'|' + record.mid(23, 15);
  }

  bool has_errors = false;
};

TEST_F(BankCheckTest, UnknownCodesAreErrorsAndOtherNamesWarnings) {
  const QStringList lines = convert_rows({
      row("1", "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ"),            // as the list has it
      row("9999", "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ"),         // no such bank: its branch is not judged
      row("0001", "ﾐｽﾞﾎ", "999", "ﾎﾝﾃﾝ"),       // no such branch of the bank
      row("0310", "ﾐﾅﾄｷﾞﾝｺｳ", "101", "ﾎｳｼﾞﾝ"),  // the code belongs to another bank
      row("1", "ﾐ ｽﾞﾎ ", "2", "ﾄｳｷｮｳ"),         // spaces and small kana weigh nothing
      row("1a", "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ"),           // not digits: its own check tells
  });
  EXPECT_EQ(
      lines,
      (QStringList{
          "ボディ：000002件目の[2]振込銀行番号が正しくありません。"
          "（銀行一覧にない銀行番号「9999」）",
          "ボディ：000003件目の[4]振込支店番号が正しくありません。"
          "（銀行一覧にない支店番号「999」）",
          "注意：000004件目の[3]振込銀行名「ﾐﾅﾄｷﾞﾝｺｳ」は銀行一覧では「ｼﾞ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ」です。",
          "ボディ：000006件目の[2]振込銀行番号が正しくありません。",
      }));
  EXPECT_TRUE(has_errors);
  // Nothing the check finds changes a byte of the records.
  EXPECT_EQ(names_written(4), QStringLiteral("ﾐﾅﾄｷﾞﾝｺｳ       |ﾎｳｼﾞﾝ          "));
}

TEST_F(BankCheckTest, EmptyOrUnmappedNamesAreFilledFromTheList) {
  QStringList lines = convert_rows({row("1", "", "2", " "), row("9999", "", "1", "")});
  EXPECT_EQ(lines, (QStringList{
                       "補正：000001件目の[3]振込銀行名「ﾐｽﾞﾎ」←「」",
                       "補正：000001件目の[5]振込支店名「ﾄｳｷﾖｳ」←「 」",
                       "ボディ：000002件目の[2]振込銀行番号が正しくありません。"
                       "（銀行一覧にない銀行番号「9999」）",
                   }));
  EXPECT_EQ(names_written(1), QStringLiteral("ﾐｽﾞﾎ           |ﾄｳｷﾖｳ          "));
  EXPECT_EQ(names_written(2), QString(15, u' ') + u'|' + QString(15, u' '));

  // A bank name no column feeds is filled too; corrections alone are no errors.
  company.credit.body_columns[1] = QString();
  lines = convert_rows({row("1", "ignored", "1", "ﾎﾝﾃﾝ")});
  EXPECT_EQ(lines, QStringList{"補正：000001件目の[3]振込銀行名「ﾐｽﾞﾎ」←「」"});
  EXPECT_FALSE(has_errors);
  EXPECT_EQ(names_written(1), QStringLiteral("ﾐｽﾞﾎ           |ﾎﾝﾃﾝ           "));
}

// The money goes to the code's bank while the name says another: a wrong code is
// likelier than a misspelling, so this difference is an error, not a warning.
TEST_F(BankCheckTest, AnotherBanksOrBranchsNameUnderACodeIsAnError) {
  system.options.kana_table += u'-';  // so that only the list judges the names
  const QStringList lines = convert_rows({
      row("0001", "ﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ", "1", "ﾎﾝﾃﾝ"),    // bank 0005's kana under 0001
      row("0001", "ﾐﾂﾋﾞｼﾕ- ｴﾌｼﾞｴｲ", "1", "ﾎﾝﾃﾝ"),   // spaces weigh nothing
      row("0001", "ﾐｽﾞﾎ", "1", "ﾄｳｷﾖｳ"),            // branch 002's kana under 001
      row("0005", "ﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ", "123", "ﾎﾝﾃﾝ"),  // 本店 is mizuho's branch only
  });
  EXPECT_EQ(lines, (QStringList{
                       "ボディ：000001件目の[3]振込銀行名が正しくありません。"
                       "（銀行番号0005の名前です）",
                       "ボディ：000002件目の[3]振込銀行名が正しくありません。"
                       "（銀行番号0005の名前です）",
                       "ボディ：000003件目の[5]振込支店名が正しくありません。"
                       "（支店番号002の名前です）",
                       "注意：000004件目の[5]振込支店名「ﾎﾝﾃﾝ」は銀行一覧では「ｷﾞﾝｻﾞ」です。",
                   }));
  EXPECT_TRUE(has_errors);
}

// A name the run fills in passes the checks it runs, or is not filled.
TEST_F(BankCheckTest, AListNameTheKanaTableLacksIsNotFilledAndTheLogSaysWhy) {
  const QStringList lines = convert_rows({row("0005", "", "123", "")});
  EXPECT_EQ(lines, (QStringList{
                       "補正：000001件目の[5]振込支店名「ｷﾞﾝｻﾞ」←「」",
                       "注意：000001件目の[3]振込銀行名に銀行一覧の「ﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ」を"
                       "入れませんでした（カナテーブルにない文字「-」）。",
                   }));
  EXPECT_FALSE(has_errors);
  EXPECT_EQ(names_written(1), QString(15, u' ') + QStringLiteral("|ｷﾞﾝｻﾞ          "));
}

TEST_F(BankCheckTest, TheHeadersBankAndBranchAreCheckedButNeverFilled) {
  company.credit.header_values[6] = QStringLiteral("ﾐｽﾞﾎｷﾞﾝｺｳ");
  company.credit.header_values[8] = QString();
  EXPECT_EQ(convert_rows({row("1", "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ")}),
            (QStringList{"注意：ヘッダの[8]取引銀行名「ﾐｽﾞﾎｷﾞﾝｺｳ」は銀行一覧では「ﾐｽﾞﾎ」です。",
                         "注意：ヘッダの[10]取引支店名「」は銀行一覧では「ﾎﾝﾃﾝ」です。"}));
  EXPECT_FALSE(has_errors);

  company.credit.header_values[5] = QStringLiteral("0310");
  company.credit.header_values[7] = QStringLiteral("555");
  EXPECT_EQ(convert_rows({row("1", "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ")}),
            (QStringList{"ヘッダ：[9]取引支店番号が正しくありません。"
                         "（銀行一覧にない支店番号「555」）",
                         "注意：ヘッダの[8]取引銀行名「ﾐｽﾞﾎｷﾞﾝｺｳ」は銀行一覧では"
                         "「ｼﾞ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ」です。"}));
}

TEST_F(BankCheckTest, TheBankRulesTurnTheShippedListOnAndNoListChecksNothing) {
  ASSERT_TRUE(shipped_bank_list());
  company.credit.header_values[8] = QStringLiteral("ﾄｳｷﾖｳ");  // 0001-001 in the shipped list
  const QStringList rows{row("9999", "", "1", ""), row("0001", "ﾐﾅﾄｷﾞﾝｺｳ", "001", "")};
  write_list(rows);
  const auto convert_untold = [this](std::optional<std::shared_ptr<const BankList>> banks) {
    auto run = make_run();
    if (banks) run->set_bank_list(*banks);
    run_all(*run);
    EXPECT_TRUE(run->result().ok()) << run->result().message().toStdString();
    QStringList lines = log_lines();
    return lines.mid(2, lines.size() - 3);
  };
  // The rule off, as in a folder without "tsubakuro.ini": no check, as before.
  EXPECT_TRUE(convert_untold(std::nullopt).isEmpty());
  const QByteArray unchecked = testing::read_file(QStringLiteral("out.dat"));

  system.bank_rules.check_codes = true;
  EXPECT_EQ(
      convert_untold(std::nullopt),
      (QStringList{"ボディ：000001件目の[2]振込銀行番号が正しくありません。"
                   "（銀行一覧にない銀行番号「9999」）",
                   "補正：000002件目の[5]振込支店名「ﾄｳｷﾖｳ」←「」",
                   "注意：000002件目の[3]振込銀行名「ﾐﾅﾄｷﾞﾝｺｳ」は銀行一覧では「ﾐｽﾞﾎ」です。"}));

  // The list missing: the check is off whatever the settings say.
  EXPECT_TRUE(convert_untold(std::shared_ptr<const BankList>()).isEmpty());
  EXPECT_EQ(testing::read_file(QStringLiteral("out.dat")), unchecked);
}

}  // namespace
}  // namespace tsubakuro
