#include <gtest/gtest.h>

#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"
#include "core/log/logged_corrections.h"
#include "core/records/data_record.h"
#include "core/records/header_record.h"
#include "core/text/cp932.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::BuiltinChecker;
using testing::default_options;

constexpr auto kCredit = TransferKind::Credit;

ConversionOptions with_rules(bool check, bool normalize, int skip_name_check = 0) {
  ConversionOptions options = default_options();
  options.bank_rules.check_characters = check;
  options.bank_rules.normalize_names = normalize;
  options.skip_name_check = skip_name_check;
  return options;
}

// Columns 1 to 3 feed 銀行名, 支店名 and 預金者名; the rest are well-formed.
DataRecord build_names(const QString& bank, const QString& branch, const QString& holder,
                       const ConversionOptions& options) {
  std::array<QString, kBodyColumnCount> body{"4", "1", "5", "2", "", "6", "7", "3", "8"};
  const QString line = QStringLiteral("%1,%2,%3,0005,110,1,1234567,1000").arg(bank, branch, holder);
  return build_data_record(line, prepare_column_map(body), kCredit, options,
                           *BuiltinChecker(kCredit));
}

QString holder_field(const BuiltRecord& record) { return decode_cp932(record.bytes.mid(50, 30)); }

TEST(BankRulesRecord, NameFieldsFollowTheRulesThatAreOn) {
  const struct {
    const char* name;
    ConversionOptions options;
    const char16_t* holder;
    const char16_t* written;                // 預金者名 as it stands in the record
    std::optional<const char16_t*> reason;  // nothing: passes; empty: fails, no reason
  } cases[] = {
      {"both off: the kana set judges", with_rules(false, false), u"ABC", u"ABC", u""},
      {"both off: small kana pass", with_rules(false, false), u"ｼｮｳ", u"ｼｮｳ", std::nullopt},
      {"check: letters, digits, ( ) - . pass", with_rules(true, false), u"(ｶ)ABC-1.", u"(ｶ)ABC-1.",
       std::nullopt},
      {"check: small kana fail with a reason", with_rules(true, false), u"ｼｮｳ", u"ｼｮｳ",
       u"使えない文字「ｮ」"},
      {"check: wins over 名称文字チェック省く", with_rules(true, false, 1), u"ﾔﾏﾀﾞ&ｺ", u"ﾔﾏﾀﾞ&ｺ",
       u"使えない文字「&」"},
      {"normalize: the kana set still judges", with_rules(false, true), u"abc", u"ABC", u""},
      {"normalize: mended before the check", with_rules(false, true), u"しょう", u"ｼﾖｳ",
       std::nullopt},
      {"both: kanji are left and refused", with_rules(true, true), u"山田　はな", u"山田 ﾊﾅ",
       u"使えない文字「山」「田」"},
      {"both: empty fails as missing, not by the rules", with_rules(true, true), u"", u"", u""},
  };
  for (const auto& c : cases) {
    const BuiltRecord record =
        build_names(u"ﾐｽﾞﾎ"_qs, u"ﾎﾝﾃﾝ"_qs, QString::fromUtf16(c.holder), c.options).record;
    const QString written = QString::fromUtf16(c.written);
    EXPECT_EQ(holder_field(record),
              written + QString(30 - encode_cp932(written).bytes.size(), u' '))
        << c.name;
    EXPECT_EQ(record.failed_fields.contains(9), c.reason.has_value()) << c.name;
    if (c.reason && !QString::fromUtf16(*c.reason).isEmpty())
      EXPECT_EQ(record.failure_reasons.value(9), QString::fromUtf16(*c.reason)) << c.name;
    else
      EXPECT_FALSE(record.failure_reasons.contains(9)) << c.name;
  }
}

TEST(BankRulesRecord, EveryNameFieldIsMendedBeforeItIsFittedAndTheChangesAreListed) {
  const QString long_name = u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ"_qs;  // 40 when split
  const DataRecord row = build_names(u"みずほ"_qs, u"ﾎﾝﾃﾝ"_qs, long_name, with_rules(true, true));
  EXPECT_TRUE(row.record.failed_fields.isEmpty());
  ASSERT_EQ(row.record.corrections.size(), 2);
  EXPECT_EQ(row.record.corrections[0].field, 3);
  EXPECT_EQ(row.record.corrections[0].corrected, u"ﾐｽﾞﾎ"_qs);
  EXPECT_EQ(row.record.corrections[0].original, u"みずほ"_qs);
  EXPECT_EQ(row.record.corrections[1].field, 9);
  // The record keeps the first 30 half-width characters: the mended text is cut,
  // not the typed one, so the bank still gets a full field; the note quotes the
  // field as the bank reads it.
  EXPECT_EQ(row.record.corrections[1].corrected.size(), 30);
  EXPECT_EQ(holder_field(row.record), row.record.corrections[1].corrected);
  ASSERT_EQ(row.record.name_notices.size(), 1);
  EXPECT_EQ(row.record.name_notices[0].kind, NameNotice::Kind::Cut);
  EXPECT_EQ(row.record.name_notices[0].text, row.record.corrections[1].corrected);
}

// ギンザ must never reach the bank as ギンサ: the kana goes with its mark. With
// a rule on the cut is noted with the name as written; with every rule off names
// are cut as they always were, and nothing is said.
TEST(BankRulesRecord, ANameIsCutBeforeAKanaWhoseMarkWouldBeLostAndTheCutNoted) {
  const QString typed = u"ミドリノ　ショウカイ　トウキョウ　ハンバイブ　ギンザ"_qs;
  const QString kana = u"ﾐﾄﾞﾘﾉ ｼﾖｳｶｲ ﾄｳｷﾖｳ ﾊﾝﾊﾞｲﾌﾞ ｷﾞﾝｻﾞ"_qs;
  const QString written = u"ﾐﾄﾞﾘﾉ ｼﾖｳｶｲ ﾄｳｷﾖｳ ﾊﾝﾊﾞｲﾌﾞ ｷﾞﾝ"_qs;

  const DataRecord mended = build_names(u"ﾐｽﾞﾎ"_qs, u"ﾎﾝﾃﾝ"_qs, typed, with_rules(true, true));
  EXPECT_EQ(holder_field(mended.record), written + u' ');
  ASSERT_EQ(mended.record.corrections.size(), 1);
  EXPECT_EQ(mended.record.corrections[0].corrected, written);
  ASSERT_EQ(mended.record.name_notices.size(), 1);
  EXPECT_EQ(mended.record.name_notices[0].field, 9);
  EXPECT_EQ(mended.record.name_notices[0].width, 30);
  EXPECT_EQ(mended.record.name_notices[0].text, written);
  EXPECT_EQ(compose_name_cut(builtin_field_names(), kCredit, false, 2, 9, 12, 30, written),
            u"注意：000012件目の[9]預金者名を30桁に切り詰めました「"_qs + written + u"」"_qs);

  const DataRecord plain = build_names(u"ﾐｽﾞﾎ"_qs, u"ﾎﾝﾃﾝ"_qs, kana, with_rules(false, false));
  EXPECT_EQ(holder_field(plain.record), written + u' ');
  EXPECT_TRUE(plain.record.name_notices.isEmpty());
  EXPECT_TRUE(plain.record.failed_fields.isEmpty());

  // Cut by bytes, a two-byte name never keeps the kana either.
  const QString wide = u"ミドリノショウカイ販売部長ｷﾞﾝｻﾞ"_qs;  // 26 bytes, then 5
  const DataRecord skipped = build_names(u"ﾐｽﾞﾎ"_qs, u"ﾎﾝﾃﾝ"_qs, wide, with_rules(false, false, 1));
  EXPECT_EQ(holder_field(skipped.record), u"ミドリノショウカイ販売部長ｷﾞﾝ "_qs)
      << "ｻ without its ﾞ is dropped: 26 + 3 bytes of 30, the rest a blank";
}

TEST(BankRulesRecord, TheHeaderChecksItsNamesAndTheCodeClass) {
  std::array<QString, kHeaderValueCount> header = {"21",       "1", "1234567890", "ﾂﾊﾞｸﾛｼｮｳｼﾞ",
                                                   "0425",     "1", "ﾐｽﾞﾎ",       "12",
                                                   "ほんてん", "1", "1234567",    ""};
  const BuiltRecord off =
      build_header_record(header, kCredit, with_rules(false, false), *BuiltinChecker(kCredit));
  EXPECT_EQ(off.failed_fields, QList<int>{10}) << "only ほんてん fails the kana set";

  const BuiltRecord checked =
      build_header_record(header, kCredit, with_rules(true, false), *BuiltinChecker(kCredit));
  EXPECT_EQ(checked.failed_fields, (QList<int>{3, 5, 10}));
  EXPECT_EQ(checked.failure_reasons.value(3), u"シフトJISのファイルは「0」"_qs);
  EXPECT_EQ(checked.failure_reasons.value(5), u"使えない文字「ｮ」"_qs);

  header[1] = "0";
  const BuiltRecord mended =
      build_header_record(header, kCredit, with_rules(true, true), *BuiltinChecker(kCredit));
  EXPECT_TRUE(mended.failed_fields.isEmpty());
  ASSERT_EQ(mended.corrections.size(), 2);
  EXPECT_EQ(mended.corrections[0].field, 5);
  EXPECT_EQ(mended.corrections[0].corrected, u"ﾂﾊﾞｸﾛｼﾖｳｼﾞ"_qs);
  EXPECT_EQ(mended.corrections[1].field, 10);
  EXPECT_EQ(mended.corrections[1].corrected, u"ﾎﾝﾃﾝ"_qs);
}

TEST(BankRulesRecord, CorrectionNotesReadBackAsTheyWereWritten) {
  FieldTable names = builtin_field_names();
  const QString data_note = compose_field_correction(names, kCredit, false, 2, 9, 12,
                                                     u"ﾔﾏﾀﾞ ﾊﾅｺ"_qs, u"やまだ　はなこ"_qs);
  EXPECT_EQ(data_note, u"補正：000012件目の[9]預金者名「ﾔﾏﾀﾞ ﾊﾅｺ」←「やまだ　はなこ」"_qs);
  const QString header_note =
      compose_field_correction(names, kCredit, false, 1, 5, 0, u"A「B」"_qs, u"a「b」"_qs);
  EXPECT_EQ(header_note, u"補正：ヘッダの[5]会社名「A「B」」←「a「b」」"_qs);

  const std::optional<LoggedCorrection> data = parse_logged_correction(data_note);
  ASSERT_TRUE(data);
  EXPECT_FALSE(data->header);
  EXPECT_EQ(data->record_number, 12);
  EXPECT_EQ(data->field, 9);
  EXPECT_EQ(data->corrected, u"ﾔﾏﾀﾞ ﾊﾅｺ"_qs);
  EXPECT_EQ(data->original, u"やまだ　はなこ"_qs);

  const std::optional<LoggedCorrection> header = parse_logged_correction(header_note);
  ASSERT_TRUE(header);
  EXPECT_TRUE(header->header);
  EXPECT_EQ(header->field, 5);
  EXPECT_EQ(header->original, u"a「b」"_qs);

  for (const char16_t* other : {u"ボディ：000012件目の[9]預金者名が正しくありません。",
                                u"★★変換開始★★ 2026/12/07 9:05:01", u"補正：", u""})
    EXPECT_FALSE(parse_logged_correction(QString::fromUtf16(other)));
}

}  // namespace
}  // namespace tsubakuro
