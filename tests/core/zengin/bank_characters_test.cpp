#include "core/zengin/bank_characters.h"

#include <gtest/gtest.h>

namespace tsubakuro {
namespace {

std::string utf8(QStringView text) { return text.toString().toStdString(); }

TEST(BankCharacters, AcceptsWhatBanksTakeInANameAndNothingElse) {
  const QString accepted[] = {
      QString(),
      QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ"),
      QStringLiteral("0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
      QStringLiteral("ｶ)ABC.ｼﾖｳｼﾞ(ｶ)-"),
      QStringLiteral("ｳﾞｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ"),
      QStringLiteral("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"),
      QStringLiteral("          "),
  };
  for (const QString& name : accepted) EXPECT_TRUE(check_bank_name(name).ok()) << utf8(name);
}

TEST(BankCharacters, NamesTheCharactersBanksRefuse) {
  const struct {
    const char16_t* name;
    const char16_t* reason;
  } cases[] = {
      {u"ｼｮｳｼﾞ", u"使えない文字「ｮ」"},
      {u"ｧｨｩｪｫｬｭｮｯ", u"使えない文字「ｧ」「ｨ」「ｩ」「ｪ」「ｫ」「ｬ」「ｭ」「ｮ」「ｯ」"},
      {u"ｶｯｺｯ", u"使えない文字「ｯ」"},  // each character named once
      {u"ｦｶﾞﾜ", u"使えない文字「ｦ」"},
      {u"ｻｰﾋﾞｽ", u"使えない文字「ｰ」"},
      {u"yamada", u"使えない文字「y」「a」「m」「d」"},
      {u"ヤマダ　タロウ", u"使えない文字「ヤ」「マ」「ダ」「　」「タ」「ロ」「ウ」"},
      {u"ＡＢＣ", u"使えない文字「Ａ」「Ｂ」「Ｃ」"},
      {u"山田", u"使えない文字「山」「田」"},
      {u"A&B/C,D", u"使えない文字「&」「/」「,」"},
      {u"ｱ｢ｲ｣･", u"使えない文字「｢」「｣」「･」"},
      {u"ｱﾞｲ", u"濁点・半濁点の位置が正しくありません「ｱﾞ」"},
      {u"ﾞｶ", u"濁点・半濁点の位置が正しくありません「ﾞ」"},
      {u"ｶﾟ ﾅﾞ ﾏﾟ", u"濁点・半濁点の位置が正しくありません「ｶﾟ」「ﾅﾞ」「ﾏﾟ」"},
      {u"ｶﾞﾞ", u"濁点・半濁点の位置が正しくありません「ﾞﾞ」"},
      {u"ｼｮﾞ", u"使えない文字「ｮ」、濁点・半濁点の位置が正しくありません「ｮﾞ」"},
      {u"\U0001F600ｱ", u"使えない文字「\U0001F600」"},
  };
  for (const auto& c : cases) {
    const QString name = QString::fromUtf16(c.name);
    const Result<void> checked = check_bank_name(name);
    EXPECT_EQ(checked ? QStringLiteral("(accepted)") : checked.message(),
              QString::fromUtf16(c.reason))
        << utf8(name);
  }
}

TEST(BankCharacters, MendsNamesIntoTheBanksCharacters) {
  const struct {
    const char16_t* typed;
    const char16_t* mended;
  } cases[] = {
      {u"ヤマダ　タロウ", u"ﾔﾏﾀﾞ ﾀﾛｳ"},
      {u"やまだ　はなこ", u"ﾔﾏﾀﾞ ﾊﾅｺ"},
      {u"ガギグゲゴ パピプペポ ヴ", u"ｶﾞｷﾞｸﾞｹﾞｺﾞ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ｳﾞ"},
      {u"がぎぐげご ぱぴぷぺぽ ゔ", u"ｶﾞｷﾞｸﾞｹﾞｺﾞ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ｳﾞ"},
      {u"ァィゥェォャュョッヮヵヶ", u"ｱｲｳｴｵﾔﾕﾖﾂﾜｶｹ"},
      {u"ぁぃぅぇぉゃゅょっゎ", u"ｱｲｳｴｵﾔﾕﾖﾂﾜ"},
      {u"ｧｨｩｪｫｬｭｮｯ", u"ｱｲｳｴｵﾔﾕﾖﾂ"},
      {u"ｼｮｳｼﾞ ｲﾄｳ ｼｮｳﾀ", u"ｼﾖｳｼﾞ ｲﾄｳ ｼﾖｳﾀ"},
      {u"ヲ ｦ を ヰ ヱ", u"ｵ ｵ ｵ ｲ ｴ"},
      {u"ー ｰ － ‐ ― −", u"- - - - - -"},
      {u"（カ）ＡＢＣ．ｓｈｏｊｉ１２３", u"(ｶ)ABC.SHOJI123"},
      {u"john smith & co.", u"JOHN SMITH & CO."},
      {u"か\u3099 は\u309A か゛", u"ｶﾞ ﾊﾟ ｶﾞ"},
      {u"山田　タロウ", u"山田 ﾀﾛｳ"},  // kanji are left for the check
      {u"ﾔﾏﾀﾞ ﾀﾛｳ", u"ﾔﾏﾀﾞ ﾀﾛｳ"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    const QString typed = QString::fromUtf16(c.typed);
    EXPECT_EQ(normalize_bank_name(typed), QString::fromUtf16(c.mended)) << utf8(typed);
  }
}

TEST(BankCharacters, EveryKanaMendsIntoANameBanksAccept) {
  for (char16_t c = u'ぁ'; c <= u'ゖ'; ++c) {
    const QString mended = normalize_bank_name(QString(QChar(c)));
    EXPECT_TRUE(check_bank_name(mended).ok()) << utf8(mended);
  }
  for (char16_t c = u'ァ'; c <= u'ヶ'; ++c) {
    const QString mended = normalize_bank_name(QString(QChar(c)));
    EXPECT_TRUE(check_bank_name(mended).ok()) << utf8(mended);
    EXPECT_EQ(normalize_bank_name(mended), mended) << "mending twice changes nothing";
  }
}

// 給与・賞与 files take a payee's name in kana, digits and spaces only.
TEST(BankCharacters, TellsLettersAndSymbolsInAPayrollName) {
  for (const char16_t* name : {u"ｽﾐｽ JOHN", u"ﾀﾅｶ(ﾀﾛｳ).", u"ﾖ-ｺ", u"ABC"})
    EXPECT_TRUE(has_letter_or_symbol(name)) << QString::fromUtf16(name).toStdString();
  for (const char16_t* name : {u"ﾔﾏﾀﾞ ﾀﾛｳ", u"ｶﾞﾂｺｳ 2", u"", u"ﾊﾟﾝ"})
    EXPECT_FALSE(has_letter_or_symbol(name)) << QString::fromUtf16(name).toStdString();
  EXPECT_TRUE(is_payroll_kind(u"11"));
  EXPECT_TRUE(is_payroll_kind(u"12 "));
  EXPECT_FALSE(is_payroll_kind(u"21"));
  EXPECT_FALSE(is_payroll_kind(u"91"));
}

}  // namespace
}  // namespace tsubakuro
