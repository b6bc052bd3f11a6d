#include "core/zengin/transfer_list.h"

#include <gtest/gtest.h>

#include "core/text/cp932.h"
#include "core/zengin/debit_result.h"
#include "core/zengin/debit_results.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

// Records written byte by byte as a bank file holds them, apart from the
// builders, so that the list cannot agree with them by sharing their faults.
QByteArray field(const QString& text, int width) {
  QByteArray bytes = encode_cp932(text).bytes;
  bytes.resize(width, ' ');
  return bytes;
}

QByteArray header(const char* kind_code = "21", const char* date = "0405") {
  return "1" + QByteArray(kind_code) + "0" + QByteArray("1234567890") +
         field(QStringLiteral("ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ"), 40) + date + "0005" +
         field(QStringLiteral("ﾐﾂﾋﾞｼﾕｰｴﾌｼﾞｪｲ"), 15) + "001" +
         field(QStringLiteral("ﾄｳｷﾖｳｴｲｷﾞﾖｳﾌﾞ"), 15) + "1" + "7654321" + QByteArray(17, ' ');
}

struct Payee {
  QByteArray bank = "0009";
  QByteArray branch = "123";
  QString name = QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ");
  QByteArray amount = "0000012345";
  QByteArray customer = "0000000042";
  QByteArray other = "0000000000";
  char code = ' ';  // 振替結果コード, or 振込指定区分
};

QByteArray data(const Payee& payee) {
  return "2" + payee.bank + field(QStringLiteral("ｷﾞﾝｺｳ"), 15) + payee.branch +
         field(QStringLiteral("ｼﾃﾝ"), 15) + "    " + "2" + "1234567" + field(payee.name, 30) +
         payee.amount + "0" + payee.customer + payee.other + payee.code + QByteArray(8, ' ');
}

QByteArray trailer(qint64 count, qint64 amount, const QByteArray& debit_figures = {}) {
  QByteArray rest = debit_figures;
  rest.resize(101, ' ');
  return "8" + QByteArray::number(count).rightJustified(6, '0') +
         QByteArray::number(amount).rightJustified(12, '0') + rest;
}

QByteArray end() { return "9" + QByteArray(119, ' '); }

QByteArray bank_file(const QList<QByteArray>& records, int length = 120, bool crlf = false) {
  QByteArray file;
  for (const QByteArray& record : records) {
    const QByteArray padded = record + QByteArray(256, ' ');
    file += crlf ? padded.left(length - 2) + "\r\n" : padded.left(length);
  }
  return file;
}

QList<QByteArray> three_payees(const char* kind_code = "21") {
  Payee a, b, c;
  a.name = QStringLiteral("ｱｵｷ ｲﾁﾛｳ");
  a.amount = "0001000000";
  b.name = QStringLiteral("ｲﾉｳｴ ｼﾞﾛｳ");
  b.amount = "0000234567";
  c.name = QStringLiteral("ｳｴﾀﾞ ｻﾌﾞﾛｳ");
  c.amount = "0000000001";
  return {header(kind_code), data(a), data(b), data(c), trailer(3, 1234568), end()};
}

std::unique_ptr<TransferList> open_list(const QByteArray& bytes,
                                        const TransferListOptions& options = {}) {
  testing::write_file(QStringLiteral("zengin.dat"), bytes);
  Result<std::unique_ptr<TransferList>> list =
      TransferList::open(QStringLiteral("zengin.dat"), options);
  EXPECT_TRUE(list.ok()) << list.message().toStdString();
  return list ? std::move(*list) : nullptr;
}

QString open_failure(const QByteArray& bytes) {
  testing::write_file(QStringLiteral("zengin.dat"), bytes);
  return TransferList::open(QStringLiteral("zengin.dat")).message();
}

struct Physical {
  int length;
  bool crlf;
};

class TransferListLayouts : public ::testing::TestWithParam<Physical> {
 protected:
  testing::ScopedWorkingDir dir_;
};

TEST_P(TransferListLayouts, ReadTheSameListAtEveryRecordLengthAndLineEnd) {
  const Physical physical = GetParam();
  std::unique_ptr<TransferList> list =
      open_list(bank_file(three_payees(), physical.length, physical.crlf));
  ASSERT_TRUE(list);
  EXPECT_EQ(list->shape().record_length, physical.length);
  EXPECT_EQ(list->shape().crlf, physical.crlf);
  EXPECT_EQ(list->shape().transfer, TransferKind::Credit);
  EXPECT_EQ(list->line_count(), 3);
  EXPECT_EQ(list->amount_total(), 1234568);
  EXPECT_TRUE(list->totals_agree());
  EXPECT_EQ(list->header().company_name, QStringLiteral("ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ"));
  const Result<TransferListLine> last = list->line(3);
  ASSERT_TRUE(last.ok());
  EXPECT_EQ(last->payee, QStringLiteral("ｳｴﾀﾞ ｻﾌﾞﾛｳ"));
  EXPECT_EQ(last->amount, 1);
  EXPECT_FALSE(list->line(4).ok());
}

INSTANTIATE_TEST_SUITE_P(Lengths, TransferListLayouts,
                         ::testing::Values(Physical{120, false}, Physical{120, true},
                                           Physical{122, false}, Physical{122, true},
                                           Physical{128, false}, Physical{128, true},
                                           Physical{130, false}, Physical{130, true},
                                           Physical{256, false}, Physical{256, true},
                                           Physical{258, false}, Physical{258, true}));

TEST(TransferList, TitlesEachKindCodeAndSaysWhichKindItIs) {
  testing::ScopedWorkingDir dir;
  const std::pair<const char*, const char*> kinds[] = {{"21", "総合振込一覧表"},
                                                       {"11", "給与振込一覧表"},
                                                       {"12", "賞与振込一覧表"},
                                                       {"91", "口座振替依頼一覧表"}};
  for (const auto& [code, title] : kinds) {
    std::unique_ptr<TransferList> list = open_list(bank_file(three_payees(code)));
    ASSERT_TRUE(list) << code;
    EXPECT_EQ(list->title(), QString::fromUtf8(title));
    EXPECT_EQ(list->shape().transfer,
              QByteArray(code) == "91" ? TransferKind::Debit : TransferKind::Credit);
  }
  EXPECT_NE(open_failure(bank_file(three_payees("71"))).indexOf(QStringLiteral("種別コード「71」")),
            -1);
}

TEST(TransferList, NamesTheBanksFromTheBankListAndDatesTheTransferFromTheConversion) {
  testing::ScopedWorkingDir dir;
  QList<QByteArray> records = three_payees();
  Payee unknown;
  unknown.bank = "9998";
  records.insert(4, data(unknown));
  records[5] = trailer(4, 1246913);
  // Converted on 2026-12-07: 04/05 is the next April, 01/01 the next New Year's Day.
  TransferListOptions options;
  options.converted_on = QDate(2026, 12, 7);
  std::unique_ptr<TransferList> list = open_list(bank_file(records), options);
  ASSERT_TRUE(list);
  const TransferListHeader& head = list->header();
  EXPECT_EQ(head.company_code, QStringLiteral("1234567890"));
  EXPECT_EQ(head.bank.bank_code, QStringLiteral("0005"));
  EXPECT_EQ(head.bank.bank_name, QStringLiteral("三菱ＵＦＪ"));
  EXPECT_EQ(head.bank.branch_name, QStringLiteral("本店"));
  EXPECT_EQ(head.account_kind, QStringLiteral("普通"));
  EXPECT_EQ(head.account_number, QStringLiteral("7654321"));
  EXPECT_EQ(head.date, QDate(2027, 4, 5));
  EXPECT_TRUE(head.bank_closed_reason.isEmpty());
  const Result<TransferListLine> listed = list->line(1);
  ASSERT_TRUE(listed.ok());
  EXPECT_EQ(listed->bank.bank_name, QStringLiteral("三井住友"));
  EXPECT_EQ(listed->account_kind, QStringLiteral("当座"));
  // A code the list does not hold keeps the file's kana.
  const Result<TransferListLine> not_listed = list->line(4);
  ASSERT_TRUE(not_listed.ok());
  EXPECT_EQ(not_listed->bank.bank_name, QStringLiteral("ｷﾞﾝｺｳ"));

  records[0] = header("21", "0101");
  list = open_list(bank_file(records), options);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->header().date, QDate(2027, 1, 1));
  EXPECT_EQ(list->header().bank_closed_reason, QStringLiteral("元日"));
  records[0] = header("21", "0230");
  list = open_list(bank_file(records), options);
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->header().date);
  EXPECT_EQ(list->header().date_field, QStringLiteral("0230"));
}

TEST(TransferList, TotalsDisagreeWhenTheTrailerOrAnAmountSaysOtherwise) {
  testing::ScopedWorkingDir dir;
  QList<QByteArray> records = three_payees();
  records[4] = trailer(3, 1234567);
  std::unique_ptr<TransferList> list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->totals_agree());
  EXPECT_EQ(list->trailer_amount(), 1234567);

  records[4] = trailer(4, 1234568);
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->totals_agree());

  // A run that logged a row's amount writes what the payment list held.
  records = three_payees();
  Payee decimal;
  decimal.amount = "00198000.5";
  records[2] = data(decimal);
  records[4] = trailer(3, 1000001);
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_EQ(list->amount_total(), 1000001);
  EXPECT_EQ(list->unreadable_amounts(), 1);
  EXPECT_FALSE(list->totals_agree());
  const Result<TransferListLine> line = list->line(2);
  ASSERT_TRUE(line.ok());
  EXPECT_FALSE(line->amount);
  EXPECT_EQ(line->amount_text, QStringLiteral("00198000.5"));

  records = three_payees();
  records[4] = "8" + QByteArray("ABCDEF") + QByteArray(113, ' ');
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->trailer_count());
  EXPECT_FALSE(list->totals_agree());
}

TEST(TransferList, RefusesWhatIsNoBankFileWithTheReason) {
  testing::ScopedWorkingDir dir;
  EXPECT_NE(TransferList::open(QStringLiteral("none.dat")).message().indexOf(u"開けません"), -1);
  EXPECT_NE(open_failure("支払先,金額\r\n").indexOf(u"銀行ファイルではありません"), -1);
  EXPECT_NE(open_failure({}).indexOf(u"銀行ファイルではありません"), -1);
  QList<QByteArray> records = three_payees();
  // No end record, a data record after the trailer, a second end, a stray kind.
  EXPECT_NE(open_failure(bank_file(records.mid(0, 5))).indexOf(u"長さがわかりません"), -1);
  QList<QByteArray> late = records;
  late.insert(5, data(Payee()));
  EXPECT_NE(open_failure(bank_file(late)).indexOf(u"6 番目"), -1);
  QList<QByteArray> twice = records;
  twice.insert(5, end());
  EXPECT_NE(open_failure(bank_file(twice)).indexOf(u"エンドレコードで終わっていません"), -1);
  QList<QByteArray> stray = records;
  stray[2][0] = '7';
  EXPECT_NE(open_failure(bank_file(stray)).indexOf(u"3 番目"), -1);
  // A file with lines of a length the program never writes.
  EXPECT_NE(open_failure(bank_file(records, 124)).indexOf(u"長さがわかりません"), -1);
}

TEST(TransferList, ReadsTheResultCodesOfAReturnedDebitFile) {
  testing::ScopedWorkingDir dir;
  QList<QByteArray> records = three_payees("91");
  const auto set_codes = [&records](char a, char b, char c) {
    const char codes[] = {a, b, c};
    for (int i = 0; i < 3; ++i) records[i + 1][111] = codes[i];
  };
  // A request, blank or written with zeros, carries no results.
  std::unique_ptr<TransferList> list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->carries_results());
  set_codes('0', '0', '0');
  records[4] = trailer(3, 1234568, QByteArray(36, '0'));
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_FALSE(list->carries_results());
  EXPECT_TRUE(list->line(1)->result_code.isNull());

  // Every record debited: only the trailer tells.
  records[4] = trailer(3, 1234568, "000003000001234568000000000000000000");
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->carries_results());

  set_codes('1', '0', '1');
  records[4] = trailer(3, 1234568, "000001000000234567000002000001000001");
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  ASSERT_TRUE(list->carries_results());
  EXPECT_EQ(list->line(1)->result_code, u'1');
  ASSERT_EQ(list->result_totals().size(), 2u);
  EXPECT_EQ(list->result_totals()[0].code, u'0');
  EXPECT_EQ(list->result_totals()[0].amount, 234567);
  EXPECT_EQ(list->result_totals()[1].code, u'1');
  EXPECT_EQ(list->result_totals()[1].count, 2);
  EXPECT_EQ(list->result_totals()[1].amount, 1000001);
}

TEST(TransferList, ResultCodeThatIsNoVisibleCharacterShowsAsUnknown) {
  // A NUL where the code stands is a result the bank wrote, not a line without one.
  testing::ScopedWorkingDir dir;
  QList<QByteArray> records = three_payees("91");
  records[2][111] = '\0';
  records[3][111] = '\x07';
  std::unique_ptr<TransferList> list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  ASSERT_TRUE(list->carries_results());
  EXPECT_EQ(list->line(1)->result_code, u' ');
  EXPECT_EQ(list->line(2)->result_code, QChar(QChar::ReplacementCharacter));
  EXPECT_EQ(list->line(3)->result_code, QChar(QChar::ReplacementCharacter));
  ASSERT_EQ(list->result_totals().size(), 2u);
  EXPECT_EQ(list->result_totals()[1].count, 2);
  EXPECT_EQ(debit_result_character('\0'), QChar(QChar::ReplacementCharacter));
}

TEST(TransferList, JoinsTheTwentyDigitCustomerNumberWhenAskedOrWhenFieldThirteenHoldsOne) {
  testing::ScopedWorkingDir dir;
  QList<QByteArray> records = three_payees();
  std::unique_ptr<TransferList> list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_EQ(list->line(1)->customer_number, QStringLiteral("0000000042"));
  TransferListOptions twenty;
  twenty.twenty_digit = true;
  list = open_list(bank_file(records), twenty);
  EXPECT_EQ(list->line(1)->customer_number, QStringLiteral("00000000420000000000"));
  Payee long_number;
  long_number.other = "0000000007";
  records[3] = data(long_number);
  records[4] = trailer(3, 1246913);
  list = open_list(bank_file(records));
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->twenty_digit());
  EXPECT_EQ(list->line(3)->customer_number, QStringLiteral("00000000420000000007"));
}

TEST(DebitResult, MeansWhatTheBanksDefine) {
  const std::pair<char16_t, const char*> meanings[] = {
      {u'0', "振替済"},
      {u'1', "資金不足"},
      {u'2', "預金取引なし"},
      {u'3', "預金者の都合による振替停止"},
      {u'4', "預金口座振替依頼書なし"},
      {u'8', "委託者の都合による振替停止"},
      {u'9', "その他"},
      {u'5', "不明（5）"},
      {u'A', "不明（A）"},
  };
  for (const auto& [code, meaning] : meanings)
    EXPECT_EQ(debit_result_meaning(QChar(code)), QString::fromUtf8(meaning));
}

}  // namespace
}  // namespace tsubakuro
