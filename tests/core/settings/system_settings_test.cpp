#include "core/settings/system_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRandomGenerator>
#include <QStringList>

#include "core/text/cp932.h"
#include "settings_test_support.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::FileSizeLimit;
using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_cp932_file;
using testing::write_file;

constexpr auto kCredit = TransferKind::Credit;
constexpr auto kDebit = TransferKind::Debit;

// The kinds of the built-in dictionary as the file holds them, written out by
// hand: 振込 header, data, trailer, end; 振替 the same with seven trailer kinds.
const QString kBuiltinCreditKinds =
    u"NNNNCNNCNCNNC"
    "NNCNCNNNCNNNNCC"
    "NNNC"
    "NC"_qs;
const QString kBuiltinDebitKinds =
    u"NNNNCNNCNCNNC"
    "NNCNCNNNCNNNNNC"
    "NNNNNNN"
    "NC"_qs;

SystemSettings started() {
  SystemSettings settings;
  init_field_dictionary(settings);
  return settings;
}

SystemSettings sample_system() {
  SystemSettings settings = started();
  settings.options.kana_table = u"ｱｲｳ"_qs;
  settings.options.crlf_each_record = true;
  settings.options.credit_20digit = true;
  settings.options.debit_20digit = false;
  settings.options.debit_trailer_zero = true;
  settings.current_company = u"サンプル商事"_qs;
  settings.transfer_kind = kDebit;
  settings.options.record_length = 258;
  settings.options.debit_data_zero = true;
  settings.company_specific = true;
  settings.options.skip_name_check = true;
  settings.field_names.of(kCredit, RecordKind::Data)[8] = u"受取人名,ｶﾅ"_qs;
  settings.field_names.of(kDebit, RecordKind::End)[1] = QString();
  settings.field_kinds.of(kDebit, RecordKind::End)[1] = u"N"_qs;
  settings.field_kinds.of(kDebit, RecordKind::Trailer)[2] = u"C"_qs;
  settings.field_kinds.of(kCredit, RecordKind::Header)[4] = QString();
  settings.field_kinds.of(kCredit, RecordKind::Data)[1] = u" "_qs;
  for (int slot = 0; slot < kWindowSlotCount; ++slot) {
    settings.window_top[slot] = slot * 100 + 1;
    settings.window_left[slot] = slot * 100 + 2;
    settings.window_height[slot] = slot * 100 + 3;
    settings.window_width[slot] = -(slot * 100 + 4);
  }
  return settings;
}

QStringList ini_lines() {
  QStringList lines = decode_cp932(read_file(u"tbk.ini"_qs)).split(u"\r\n"_qs);
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

void write_ini(const QStringList& lines) {
  write_cp932_file(u"tbk.ini"_qs, lines.join(u"\r\n"_qs) + u"\r\n"_qs);
}

TEST(SystemSettingsFile, WithoutAFileTheDefaultsStand) {
  ScopedWorkingDir dir;
  SystemSettings settings = sample_system();
  settings.field_names = builtin_field_names();
  settings.field_kinds = builtin_field_kinds();
  load_system_settings(settings);
  EXPECT_TRUE(settings.current_company.isEmpty());
  EXPECT_EQ(settings.transfer_kind, kCredit);
  EXPECT_EQ(settings.options.kana_table, QString::fromUtf16(kDefaultKanaTable));
  EXPECT_EQ(settings.options.kana_table.size(), 57);
  EXPECT_EQ(settings.window_top, (std::array<int, kWindowSlotCount>{}));
  EXPECT_EQ(settings.window_width, (std::array<int, kWindowSlotCount>{}));
  EXPECT_EQ(settings.field_kinds, builtin_field_kinds());
  EXPECT_EQ(settings.field_names, builtin_field_names());
}

TEST(SystemSettingsFile, SavingAndLoadingGivesBackEveryValue) {
  ScopedWorkingDir dir;
  const SystemSettings saved = sample_system();
  ASSERT_TRUE(save_system_settings(saved).ok());

  SystemSettings loaded = started();
  load_system_settings(loaded);
  EXPECT_EQ(loaded.options.kana_table, saved.options.kana_table);
  EXPECT_TRUE(loaded.options.crlf_each_record);
  EXPECT_TRUE(loaded.options.credit_20digit);
  EXPECT_FALSE(loaded.options.debit_20digit);
  EXPECT_TRUE(loaded.options.debit_trailer_zero);
  EXPECT_EQ(loaded.current_company, saved.current_company);
  EXPECT_EQ(loaded.transfer_kind, kDebit);
  EXPECT_EQ(loaded.options.record_length, 258);
  EXPECT_TRUE(loaded.options.debit_data_zero);
  EXPECT_TRUE(loaded.company_specific);
  EXPECT_TRUE(loaded.options.skip_name_check);
  EXPECT_EQ(loaded.field_names, saved.field_names);  // the name with a comma included
  EXPECT_EQ(loaded.window_top, saved.window_top);
  EXPECT_EQ(loaded.window_left, saved.window_left);
  EXPECT_EQ(loaded.window_height, saved.window_height);
  EXPECT_EQ(loaded.window_width, saved.window_width);

  EXPECT_EQ(loaded.field_kinds.at(kDebit, RecordKind::End, 2), u"N"_qs);
  EXPECT_EQ(loaded.field_kinds.at(kDebit, RecordKind::Trailer, 3), u"C"_qs);
  // An empty kind is stored as a blank: both leave the field unchecked.
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::Header, 5), u" "_qs);
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::Data, 2), u" "_qs);
}

TEST(SystemSettingsFile, TheEighthDebitTrailerKindAlwaysComesFromTheDictionary) {
  ScopedWorkingDir dir;
  SystemSettings saved = started();
  saved.field_kinds.of(kDebit, RecordKind::Trailer)[7] = u"N"_qs;
  ASSERT_TRUE(save_system_settings(saved).ok());
  SystemSettings loaded = started();
  loaded.field_kinds.of(kDebit, RecordKind::Trailer)[7] = u"X"_qs;
  load_system_settings(loaded);
  EXPECT_EQ(loaded.field_kinds.at(kDebit, RecordKind::Trailer, 8), u"C"_qs);
}

TEST(SystemSettingsFile, Has133LinesInTheFixedOrder) {
  ScopedWorkingDir dir;
  SystemSettings settings = sample_system();
  settings.field_kinds = builtin_field_kinds();
  settings.options.record_length.reset();
  ASSERT_TRUE(save_system_settings(settings).ok());
  const QByteArray bytes = read_file(u"tbk.ini"_qs);
  EXPECT_EQ(bytes.count("\r\n"), 133);
  EXPECT_EQ(bytes.count('\n'), 133);

  const QStringList lines = ini_lines();
  ASSERT_EQ(lines.size(), 133);
  EXPECT_EQ(lines.mid(0, 11), (QStringList{u"\"ｱｲｳ\""_qs, u"1"_qs, u"1"_qs, u"0"_qs, u"1"_qs,
                                           u"\"サンプル商事\""_qs, u"1"_qs,
                                           u""_qs,  // no record length chosen yet
                                           u"1"_qs, u"1"_qs, u"1"_qs}));
  EXPECT_EQ(lines[11], u"\"%1\""_qs.arg(kBuiltinCreditKinds));
  EXPECT_EQ(lines[12], u"\"%1\""_qs.arg(kBuiltinDebitKinds));
  EXPECT_EQ(lines[13], u"\"データ区分\""_qs);
  EXPECT_EQ(lines[18], u"\"振込指定日\""_qs);
  EXPECT_EQ(lines[34], u"\"受取人名,ｶﾅ\""_qs);
  EXPECT_EQ(lines[46], u"\"未使用\""_qs);  // 振込 end field 2
  EXPECT_EQ(lines[52], u"\"振替指定日\""_qs);
  EXPECT_EQ(lines[82], u"\"未使用\""_qs);  // 振替 trailer field 8
  EXPECT_EQ(lines[84], u"\"\""_qs);        // an empty name is still quoted
  EXPECT_EQ(lines.mid(85, 4), (QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"-4"_qs}));
  EXPECT_EQ(lines[132], u"-1104"_qs);
}

TEST(SystemSettingsFile, AnElevenLineFileKeepsTheBuiltInKinds) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_system_settings(sample_system()).ok());
  write_ini(ini_lines().mid(0, 11));

  SystemSettings loaded = started();
  load_system_settings(loaded);
  EXPECT_EQ(loaded.options.kana_table, u"ｱｲｳ"_qs);
  EXPECT_EQ(loaded.options.record_length, 258);
  EXPECT_TRUE(loaded.options.skip_name_check);
  EXPECT_EQ(loaded.field_names, builtin_field_names());
  // A file cut short never turns the checks off: every kind is the built-in one.
  EXPECT_EQ(loaded.field_kinds, builtin_field_kinds());
  EXPECT_EQ(loaded.window_top, (std::array<int, kWindowSlotCount>{}));
}

TEST(SystemSettingsFile, KindStringsAreDistributedByPosition) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_system_settings(started()).ok());
  QStringList lines = ini_lines();
  lines[11] =
      u"\"NNNNNNNNNNNNN"
      "CCCCCCCCCCCCCCC"
      "XNCN"
      "C\""_qs;                                  // one short
  lines.erase(lines.begin() + 12, lines.end());  // no 振替 string

  SystemSettings loaded = started();
  write_ini(lines);
  load_system_settings(loaded);
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::Header, 5), u"N"_qs);
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::Data, 1), u"C"_qs);
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::Trailer, 1), u"X"_qs);
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::Trailer, 4), u"N"_qs);
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::End, 1), u"C"_qs);
  // Past the end of a string, and without one, the kinds are the built-in ones.
  EXPECT_EQ(loaded.field_kinds.at(kCredit, RecordKind::End, 2), u"C"_qs);
  EXPECT_EQ(loaded.field_kinds.of(kDebit, RecordKind::Data),
            builtin_field_kinds().of(kDebit, RecordKind::Data));
  EXPECT_EQ(loaded.field_kinds.at(kDebit, RecordKind::Trailer, 8), u"C"_qs);
  EXPECT_EQ(loaded.field_names, builtin_field_names());
}

TEST(SystemSettingsFile, ValuesAreNormalisedOnLoad) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_system_settings(started()).ok());
  QStringList lines = ini_lines();
  lines[1] = u"abc"_qs;      // crlf_each_record: no number
  lines[2] = u"2"_qs;        // credit_20digit: no check box value
  lines[3] = u" 1 "_qs;      // debit_20digit
  lines[6] = u"7"_qs;        // transfer_kind
  lines[7] = u"\"256\""_qs;  // record_length quoted by hand
  lines[85] = u"1234.5"_qs;  // geometry: twips may come with a fraction
  lines[86] = u"1235.5"_qs;
  lines[87] = u"99999999999"_qs;
  lines[88] = u"-7.6"_qs;
  write_ini(lines);

  SystemSettings loaded = started();
  load_system_settings(loaded);
  EXPECT_FALSE(loaded.options.crlf_each_record);
  EXPECT_FALSE(loaded.options.credit_20digit);
  EXPECT_TRUE(loaded.options.debit_20digit);
  EXPECT_EQ(loaded.transfer_kind, kCredit);
  EXPECT_EQ(loaded.options.record_length, 256);
  EXPECT_EQ(loaded.window_top[0], 1234);
  EXPECT_EQ(loaded.window_left[0], 1236);
  EXPECT_EQ(loaded.window_height[0], std::numeric_limits<int>::max());
  EXPECT_EQ(loaded.window_width[0], -8);

  lines[6] = u"1"_qs;
  write_ini(lines);
  load_system_settings(loaded);
  EXPECT_EQ(loaded.transfer_kind, kDebit);
}

TEST(SystemSettingsFile, AnEmptyRecordLengthLineMeansNoneChosen) {
  ScopedWorkingDir dir;
  SystemSettings saved = started();
  saved.options.record_length.reset();
  ASSERT_TRUE(save_system_settings(saved).ok());
  SystemSettings loaded = started();
  loaded.options.record_length = 130;
  load_system_settings(loaded);
  EXPECT_EQ(loaded.options.record_length, std::nullopt);
}

TEST(SystemSettingsFile, LoadsIntoSettingsThatWereNeverInitialised) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_system_settings(sample_system()).ok());
  SystemSettings loaded;  // no init_field_dictionary
  load_system_settings(loaded);
  EXPECT_EQ(loaded.field_names, sample_system().field_names);
  EXPECT_EQ(loaded.field_kinds.at(kDebit, RecordKind::End, 2), u"N"_qs);
}

TEST(SystemSettingsFile, GarbageNeverCrashes) {
  ScopedWorkingDir dir;
  QRandomGenerator random(1207);
  for (int round = 0; round < 50; ++round) {
    QByteArray bytes(static_cast<int>(random.bounded(6000)), '\0');
    for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
    for (int i = 0; i < bytes.size(); i += 5) bytes[i] = "\"\r\n, 9"[random.bounded(6)];
    write_file(u"tbk.ini"_qs, bytes);
    SystemSettings settings = started();
    load_system_settings(settings);
    EXPECT_EQ(settings.field_kinds.of(kDebit, RecordKind::Trailer).size(), 8);
  }
}

class UnstorableSystemTexts
    : public ::testing::TestWithParam<std::pair<void (*)(SystemSettings&), const char16_t*>> {};

TEST_P(UnstorableSystemTexts, AreRefusedNamingTheValueAndKeepTheOldFile) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_system_settings(sample_system()).ok());
  const QByteArray before = read_file(u"tbk.ini"_qs);

  SystemSettings settings = sample_system();
  GetParam().first(settings);
  const Result<void> checked = check_system_settings(settings);
  ASSERT_FALSE(checked.ok());
  const QString problem = checked.message();
  EXPECT_TRUE(problem.contains(QString::fromUtf16(GetParam().second))) << problem.toStdString();
  const Result<void> saved = save_system_settings(settings);
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(saved.message(), problem);
  EXPECT_EQ(read_file(u"tbk.ini"_qs), before);
}

INSTANTIATE_TEST_SUITE_P(
    Values, UnstorableSystemTexts,
    ::testing::Values(
        std::pair{+[](SystemSettings& s) { s.options.kana_table = u"ｱ\"ｲ"_qs; },
                  u"「半角ｶﾀｶﾅ変換対象文字列」にダブルクォーテーション"},
        std::pair{+[](SystemSettings& s) { s.current_company = u"A\"B"_qs; }, u"会社名「A\"B」"},
        std::pair{+[](SystemSettings& s) {
                    s.field_names.of(TransferKind::Credit, RecordKind::Data)[8] = u"名\"前"_qs;
                  },
                  u"振込 ボディの項目[9]（預金者名）の名前"},
        std::pair{+[](SystemSettings& s) {
                    s.field_names.of(TransferKind::Debit, RecordKind::Trailer)[7] = u"a\nb"_qs;
                  },
                  u"振替 トレーラの項目[8]（未使用）の名前に改行"},
        std::pair{+[](SystemSettings& s) {
                    s.field_kinds.of(TransferKind::Debit, RecordKind::Header)[0] = u"\""_qs;
                  },
                  u"振替 ヘッダの項目[1]（データ区分）の文字種別"}));

TEST(CheckSystemSettings, PassesStorableSettings) {
  EXPECT_TRUE(check_system_settings(sample_system()).ok());
  EXPECT_TRUE(check_system_settings(SystemSettings()).ok());
}

TEST(SystemSettingsFile, AFailedWriteKeepsThePreviousFile) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_system_settings(sample_system()).ok());
  const QByteArray before = read_file(u"tbk.ini"_qs);
  SystemSettings changed = sample_system();
  changed.current_company = u"別の会社"_qs;
  Result<void> saved;
  {
    const FileSizeLimit limit(200);
    saved = save_system_settings(changed);
  }
  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(saved.message().contains(u"tbk.ini"_qs)) << saved.message().toStdString();
  EXPECT_EQ(read_file(u"tbk.ini"_qs), before);
  EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{u"tbk.ini"_qs});
}

TEST(SystemSettingsFile, AFolderNamedLikeTheFileIsNeitherReadNorReplaced) {
  ScopedWorkingDir dir;
  QDir().mkdir(u"tbk.ini"_qs);
  SystemSettings settings = sample_system();
  load_system_settings(settings);
  EXPECT_TRUE(settings.current_company.isEmpty());
  EXPECT_FALSE(save_system_settings(settings).ok());
  EXPECT_TRUE(QFileInfo(u"tbk.ini"_qs).isDir());
}

}  // namespace
}  // namespace tsubakuro
