#include "core/zengin/bank_characters.h"

#include <QStringList>
#include <algorithm>

namespace tsubakuro {
namespace {

constexpr char16_t kVoiced = u'ﾞ';
constexpr char16_t kSemiVoiced = u'ﾟ';

bool is_large_kana(char16_t c) { return c >= u'ｱ' && c <= u'ﾝ'; }

bool bank_character(char16_t c) {
  return c == u' ' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || is_large_kana(c) ||
         c == kVoiced || c == kSemiVoiced || c == u'(' || c == u')' || c == u'-' || c == u'.';
}

bool takes_semi_voiced(char16_t c) { return c >= u'ﾊ' && c <= u'ﾎ'; }

bool takes_voiced(char16_t c) {
  return c == u'ｳ' || (c >= u'ｶ' && c <= u'ﾄ') || takes_semi_voiced(c);
}

// Full-width katakana ァ (U+30A1) to ヶ (U+30F6) in half-width form, voicing
// marks split off and small kana made large. ヲ becomes ｵ, as banks read it; ヰ and
// ヱ become the kana they are pronounced as.
constexpr const char16_t* kHalfWidthKatakana[] = {
    u"ｱ",  u"ｱ",  u"ｲ",  u"ｲ",  u"ｳ",  u"ｳ",  u"ｴ",  u"ｴ",  u"ｵ",  u"ｵ",  u"ｶ",  u"ｶﾞ", u"ｷ",
    u"ｷﾞ", u"ｸ",  u"ｸﾞ", u"ｹ",  u"ｹﾞ", u"ｺ",  u"ｺﾞ", u"ｻ",  u"ｻﾞ", u"ｼ",  u"ｼﾞ", u"ｽ",  u"ｽﾞ",
    u"ｾ",  u"ｾﾞ", u"ｿ",  u"ｿﾞ", u"ﾀ",  u"ﾀﾞ", u"ﾁ",  u"ﾁﾞ", u"ﾂ",  u"ﾂ",  u"ﾂﾞ", u"ﾃ",  u"ﾃﾞ",
    u"ﾄ",  u"ﾄﾞ", u"ﾅ",  u"ﾆ",  u"ﾇ",  u"ﾈ",  u"ﾉ",  u"ﾊ",  u"ﾊﾞ", u"ﾊﾟ", u"ﾋ",  u"ﾋﾞ", u"ﾋﾟ",
    u"ﾌ",  u"ﾌﾞ", u"ﾌﾟ", u"ﾍ",  u"ﾍﾞ", u"ﾍﾟ", u"ﾎ",  u"ﾎﾞ", u"ﾎﾟ", u"ﾏ",  u"ﾐ",  u"ﾑ",  u"ﾒ",
    u"ﾓ",  u"ﾔ",  u"ﾔ",  u"ﾕ",  u"ﾕ",  u"ﾖ",  u"ﾖ",  u"ﾗ",  u"ﾘ",  u"ﾙ",  u"ﾚ",  u"ﾛ",  u"ﾜ",
    u"ﾜ",  u"ｲ",  u"ｴ",  u"ｵ",  u"ﾝ",  u"ｳﾞ", u"ｶ",  u"ｹ"};
constexpr char16_t kFirstKatakana = u'ァ';
constexpr char16_t kLastKatakana = u'ヶ';
static_assert(std::size(kHalfWidthKatakana) == kLastKatakana - kFirstKatakana + 1);

// Half-width small kana ｧ to ｯ (U+FF67 to U+FF6F) made large.
constexpr char16_t kLargeOfSmallHalfWidth[] = u"ｱｲｳｴｵﾔﾕﾖﾂ";

bool is_dash(char16_t c) {
  return c == u'ー' || c == u'ｰ' || c == u'－' || c == u'‐' || c == u'―' || c == u'−';
}

void append_mended(char16_t c, QString& out) {
  if (c >= u'ぁ' && c <= u'ゖ') c += u'ァ' - u'ぁ';  // hiragana to katakana
  if (c >= kFirstKatakana && c <= kLastKatakana) {
    out += QStringView(kHalfWidthKatakana[c - kFirstKatakana]);
  } else if (c >= u'ｧ' && c <= u'ｯ') {
    out += QChar(kLargeOfSmallHalfWidth[c - u'ｧ']);
  } else if (c == u'ｦ') {
    out += QChar(u'ｵ');
  } else if (is_dash(c)) {
    out += QChar(u'-');
  } else if (c == u'\u3000') {
    out += QChar(u' ');
  } else if (c == u'゛' || c == u'\u3099') {
    out += QChar(kVoiced);
  } else if (c == u'゜' || c == u'\u309A') {
    out += QChar(kSemiVoiced);
  } else if (c >= u'！' && c <= u'～') {  // full-width ASCII
    out += QChar(c - (u'！' - u'!')).toUpper();
  } else if (c >= u'a' && c <= u'z') {
    out += QChar(c - (u'a' - u'A'));
  } else {
    out += QChar(c);
  }
}

QString quoted(QStringView text) { return u'「' + text.toString() + u'」'; }

}  // namespace

namespace {

// True when check_bank_name has nothing to say: names pass far more often than
// they fail, and the reasons are lists worth building only for a failure.
bool passes_bank_rules(QStringView name) {
  char16_t before = u'\0';
  for (const QChar character : name) {
    const char16_t c = character.unicode();
    if (!bank_character(c)) return false;
    if (c == kVoiced && !takes_voiced(before)) return false;
    if (c == kSemiVoiced && !takes_semi_voiced(before)) return false;
    before = c;
  }
  return true;
}

}  // namespace

Result<void> check_bank_name(QStringView name) {
  if (passes_bank_rules(name)) return {};
  QStringList refused;
  QStringList misplaced_marks;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (!bank_character(c)) {
      // A character outside the BMP is one character to the user, not two halves.
      const qsizetype length = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
      const QString character = quoted(name.sliced(i, length));
      if (!refused.contains(character)) refused.append(character);
      i += length - 1;
      continue;
    }
    const bool voiced = c == kVoiced;
    if (!voiced && c != kSemiVoiced) continue;
    const char16_t before = i > 0 ? name[i - 1].unicode() : u'\0';
    if (voiced ? takes_voiced(before) : takes_semi_voiced(before)) continue;
    const QString mark = quoted(i > 0 ? name.sliced(i - 1, 2) : name.sliced(i, 1));
    if (!misplaced_marks.contains(mark)) misplaced_marks.append(mark);
  }
  QStringList reasons;
  if (!refused.isEmpty()) reasons.append(QStringLiteral("使えない文字") + refused.join(QString()));
  if (!misplaced_marks.isEmpty())
    reasons.append(QStringLiteral("濁点・半濁点の位置が正しくありません") +
                   misplaced_marks.join(QString()));
  if (reasons.isEmpty()) return {};
  return failure(reasons.join(u'、'));
}

QString normalize_bank_name(QStringView name) {
  QString mended;
  mended.reserve(name.size() + 4);
  for (const QChar c : name) append_mended(c.unicode(), mended);
  return mended;
}

bool has_letter_or_symbol(QStringView name) {
  return std::any_of(name.begin(), name.end(), [](QChar character) {
    const char16_t c = character.unicode();
    return !(c == u' ' || (c >= u'0' && c <= u'9') || is_large_kana(c) || c == kVoiced ||
             c == kSemiVoiced);
  });
}

bool is_payroll_kind(QStringView kind_code) {
  const QStringView code = kind_code.trimmed();
  return code == u"11" || code == u"12";
}

}  // namespace tsubakuro
