#include <gtest/gtest.h>

#include <QFile>

#include "core/zengin/bank_list.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

// Out of order on purpose, with a line the format does not know, a branch
// before any bank and CR LF line ends in part.
const QString kList = QStringLiteral(
    "#zengin-code\t1.0.0-p20250131\t2025-01-31\n"
    "999\tﾏｲｺﾞ\t迷子\n"
    "0310\tｼﾞ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ\tＧＭＯあおぞらネット\r\n"
    "102\tﾎｳｼﾞﾝﾀﾞｲﾆ\t法人第二営業部\r\n"
    "101\tﾎｳｼﾞﾝ\t法人営業部\n"
    "0001\tﾐｽﾞﾎ\tみずほ\n"
    "not a line\n"
    "004\tﾏﾙﾉｳﾁﾁﾕｳｵｳ\t丸の内中央\n"
    "001\tﾄｳｷﾖｳ\t東京営業部\n"
    "005\tﾏﾙﾉｳﾁ\t丸之内\n"
    "0005\tﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ\t三菱ＵＦＪ\n"
    "0009\tﾐﾂｲｽﾐﾄﾓ\t三井住友\n");

std::shared_ptr<const BankList> fixture() {
  auto list = BankList::parse(kList);
  EXPECT_TRUE(list.ok());
  return list.value_or(nullptr);
}

QStringList codes(const QList<BankListEntry>& entries) {
  QStringList out;
  for (const BankListEntry& entry : entries) out << entry.code.toString();
  return out;
}

TEST(BankList, FindsBanksAndBranchesByExactCode) {
  const auto list = fixture();
  EXPECT_EQ(list->bank_count(), 4);
  EXPECT_EQ(list->branch_count(), 5);  // the branch before any bank is dropped

  const auto gmo = list->bank(u"0310");
  ASSERT_TRUE(gmo);
  EXPECT_EQ(gmo->kana, u"ｼﾞ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ");
  EXPECT_EQ(gmo->name, u"ＧＭＯあおぞらネット");  // the CR of its line is not part of it

  const auto branch = list->branch(u"0001", u"005");
  ASSERT_TRUE(branch);
  EXPECT_EQ(branch->kana, u"ﾏﾙﾉｳﾁ");
  EXPECT_EQ(branch->code, u"005");
  EXPECT_EQ(list->branch(u"0310", u"101")->name, u"法人営業部");

  // A branch belongs to its own bank only; codes are exact, digits only.
  EXPECT_FALSE(list->branch(u"0310", u"001"));
  EXPECT_FALSE(list->branch(u"0005", u"001"));
  EXPECT_FALSE(list->bank(u"9999"));
  EXPECT_FALSE(list->bank(u"310"));
  EXPECT_FALSE(list->bank(u"00310"));
  EXPECT_FALSE(list->bank(u"03 0"));
  EXPECT_FALSE(list->bank(u"０３１０"));
  EXPECT_FALSE(list->branch(u"0001", u"1"));
  EXPECT_FALSE(list->branch(u"9999", u"001"));
}

TEST(BankList, NamesItsEdition) {
  const auto list = fixture();
  EXPECT_EQ(list->version(), u"1.0.0-p20250131");
  EXPECT_EQ(list->date(), QDate(2025, 1, 31));
  EXPECT_EQ(list->edition(), u"2025年1月31日版（zengin-code 1.0.0-p20250131）");
}

TEST(BankList, RefusesWhatHoldsNoBank) {
  const auto empty = BankList::parse(QString());
  EXPECT_FALSE(empty);
  EXPECT_FALSE(empty.message().isEmpty());
  EXPECT_FALSE(BankList::parse(QStringLiteral("#zengin-code\t1\t2025-01-31\n001\tｱ\t亜\n")));

  testing::ScopedWorkingDir dir;
  const auto missing = BankList::read(QStringLiteral("missing.tsv"));
  EXPECT_FALSE(missing);
  EXPECT_TRUE(missing.message().contains(u"missing.tsv"));
  testing::write_file(QStringLiteral("binary.tsv"), QByteArray("\x00\xff\xfe\x01", 4));
  const auto binary = BankList::read(QStringLiteral("binary.tsv"));
  EXPECT_FALSE(binary);
  EXPECT_TRUE(binary.message().contains(u"binary.tsv"));
}

TEST(BankList, FindsByEveryKindOfPrefix) {
  const auto list = fixture();
  EXPECT_EQ(codes(list->find_banks(u"")), (QStringList{"0001", "0005", "0009", "0310"}));
  EXPECT_EQ(codes(list->find_banks(u"000")), (QStringList{"0001", "0005", "0009"}));
  EXPECT_EQ(codes(list->find_banks(u"0310")), QStringList{"0310"});
  EXPECT_EQ(codes(list->find_banks(u"三")), (QStringList{"0005", "0009"}));
  EXPECT_EQ(codes(list->find_banks(u"三菱UFJ")), QStringList{"0005"});  // name in full width
  EXPECT_EQ(codes(list->find_banks(u"gmo")), QStringList{"0310"});
  // Kana in any of the forms a user types, voicing marks and long vowels too.
  for (const char16_t* query : {u"ﾐﾂ", u"ミツ", u"みつ", u"ﾐ ﾂ"})
    EXPECT_EQ(codes(list->find_banks(query)), (QStringList{"0005", "0009"}))
        << QString::fromUtf16(query).toStdString();
  EXPECT_EQ(codes(list->find_banks(u"じーえむおー")), QStringList{"0310"});
  EXPECT_EQ(codes(list->find_banks(u"ミツビシユー")), QStringList{"0005"});
  // Small kana are large in the list: ちゅう finds ﾁﾕｳ.
  EXPECT_EQ(codes(list->find_branches(u"0001", u"まるのうちちゅう")), QStringList{"004"});
  EXPECT_EQ(codes(list->find_banks(u"みずほ銀行")), QStringList{});
  EXPECT_EQ(codes(list->find_banks(u"000", 2)), (QStringList{"0001", "0005"}));
}

TEST(BankList, FindsBranchesOfOneBank) {
  const auto list = fixture();
  EXPECT_EQ(codes(list->find_branches(u"0001", u"")), (QStringList{"001", "004", "005"}));
  EXPECT_EQ(codes(list->find_branches(u"0001", u"まるのうち")), (QStringList{"004", "005"}));
  EXPECT_EQ(codes(list->find_branches(u"0001", u"丸之")), QStringList{"005"});
  EXPECT_EQ(codes(list->find_branches(u"0001", u"00")), (QStringList{"001", "004", "005"}));
  EXPECT_EQ(codes(list->find_branches(u"0310", u"ﾎｳｼﾞﾝ")), (QStringList{"101", "102"}));
  EXPECT_TRUE(list->find_branches(u"0009", u"").isEmpty());
  EXPECT_TRUE(list->find_branches(u"9999", u"").isEmpty());
}

// What tells a name written under the wrong code: the exact key of another entry.
TEST(BankList, FindsABankOrABranchOfOneBankByItsNameKey) {
  const auto list = fixture();
  EXPECT_EQ(list->bank_named(bank_name_key(u"ﾐﾂﾋﾞｼﾕ- ｴﾌｼﾞｴｲ"))->code, u"0005");
  EXPECT_EQ(list->bank_named(bank_name_key(u"みずほ"))->code, u"0001");
  EXPECT_FALSE(list->bank_named(bank_name_key(u"ﾐｽﾞﾎｷﾞﾝｺｳ")));
  EXPECT_FALSE(list->bank_named(u""));
  EXPECT_EQ(list->branch_named(u"0001", bank_name_key(u"ﾏﾙﾉｳﾁ"))->code, u"005");
  EXPECT_FALSE(list->branch_named(u"0310", bank_name_key(u"ﾏﾙﾉｳﾁ"))) << "another bank's branch";
  EXPECT_FALSE(list->branch_named(u"9999", bank_name_key(u"ﾏﾙﾉｳﾁ")));
}

TEST(BankNameKey, TakesTheFormsABankTakesForTheSameName) {
  const QString key = bank_name_key(u"ｼﾞ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ");
  for (const char16_t* same :
       {u"ジーエムオーアオゾラネツト", u"じーえむおーあおぞらねっと", u"ｼﾞ-ｴﾑｵ- ｱｵｿﾞﾗ ﾈｯﾄ",
        u"ジ－エムオ－アオゾラネツト", u"ｼﾞｰｴﾑｵｰ　ｱｵｿﾞﾗﾈﾂﾄ"})
    EXPECT_EQ(bank_name_key(same), key) << QString::fromUtf16(same).toStdString();
  // A voicing mark is part of the name; so is every letter.
  EXPECT_NE(bank_name_key(u"ｼ-ｴﾑｵ-ｱｵｿﾞﾗﾈﾂﾄ"), key);
  EXPECT_NE(bank_name_key(u"ﾊﾟﾙ"), bank_name_key(u"ﾊﾞﾙ"));
  EXPECT_NE(bank_name_key(u"ﾐﾅﾄｷﾞﾝｺｳ"), key);
  EXPECT_EQ(bank_name_key(u"ufj"), bank_name_key(u"ＵＦＪ"));
}

TEST(ShippedBankList, IsFoundAndNamesTheEditionOfItsFirstLine) {
  const auto list = shipped_bank_list();
  ASSERT_TRUE(list) << bank_list_locations().join(u", ").toStdString();
  EXPECT_EQ(shipped_bank_list(), list);  // read once

  QFile source(testing::source_path(QStringLiteral("data/banks.tsv")));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  const QList<QByteArray> header = source.readLine().trimmed().split('\t');
  ASSERT_EQ(header.size(), 3);
  EXPECT_EQ(list->version(), QString::fromUtf8(header[1]));
  EXPECT_EQ(list->date(), QDate::fromString(QString::fromUtf8(header[2]), Qt::ISODate));

  // Banks and branches that have long kept their codes.
  EXPECT_GT(list->bank_count(), 1000);
  EXPECT_GT(list->branch_count(), 20000);
  EXPECT_EQ(list->bank(u"0001")->kana, u"ﾐｽﾞﾎ");
  EXPECT_EQ(list->branch(u"0001", u"001")->name, u"東京営業部");
  EXPECT_EQ(list->bank(u"9900")->name, u"ゆうちょ");
}

}  // namespace
}  // namespace tsubakuro
