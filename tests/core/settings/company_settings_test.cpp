#include "core/settings/company_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRandomGenerator>
#include <QStringList>

#include "core/settings/company_name.h"
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

// A company with a different value in every field, including the awkward ones:
// commas, leading zeros, blanks at both ends, kanji and half-width katakana.
CompanySettings sample_company() {
  CompanySettings company;
  int n = 0;
  auto fill = [&n](TransferSettings& transfer, const QString& tag) {
    transfer.input_file = tag + u"_支払,一覧.csv"_qs;
    transfer.output_file = u"C:\\ZENGIN\\"_qs + tag + u".txt"_qs;
    for (QString& value : transfer.header_values) value = tag + QString::number(++n);
    transfer.header_values[2] = u"0012345678"_qs;
    transfer.header_values[3] = u" ｻﾝﾌﾟﾙｼｮｳｼﾞ  "_qs;
    for (QString& value : transfer.body_columns) value = QString::number(++n % 30);
    transfer.body_columns[13] = QString();
    transfer.skip_header_rows = u"2"_qs;
    transfer.enabled = true;
    transfer.skip_footer = true;
  };
  fill(company.credit, u"振込"_qs);
  fill(company.debit, u"振替"_qs);
  company.debit.enabled = false;
  company.credit.skip_footer = false;
  company.options.kana_table = u"ｱｲｳｴｵ"_qs;
  company.options.crlf_each_record = true;
  company.options.credit_20digit = true;
  company.options.debit_20digit = false;
  company.options.debit_trailer_zero = true;
  company.options.debit_data_zero = true;
  company.options.record_length = 258;
  company.options.skip_name_check = true;
  return company;
}

QStringList file_lines(const QString& file_name) {
  QStringList lines = decode_cp932(read_file(file_name)).split(u"\r\n"_qs);
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

TEST(CompanySettingsFile, SavingAndLoadingGivesBackEveryValue) {
  ScopedWorkingDir dir;
  const CompanySettings saved = sample_company();
  ASSERT_TRUE(save_company_settings(u"サンプル商事"_qs, saved).ok());

  const Result<LoadedCompanySettings> loaded = load_company_settings(u"サンプル商事"_qs);
  ASSERT_TRUE(loaded.ok()) << loaded.message().toStdString();
  EXPECT_EQ(loaded->settings, saved);
}

TEST(CompanySettingsFile, HasSeventyCp932LinesInTheFixedOrder) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_company_settings(u"A"_qs, sample_company()).ok());
  const QByteArray bytes = read_file(u"A.cfg"_qs);
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), 70);
  EXPECT_EQ(bytes.count('\n'), 70);  // no lone line feeds
  // Half-width katakana are single bytes: 0xBB is ｻ.
  EXPECT_TRUE(bytes.contains("\" \xBB\xDD\xCC\xDF\xD9\xBC\xAE\xB3\xBC\xDE  \"\r\n"));

  const QStringList lines = file_lines(u"A.cfg"_qs);
  ASSERT_EQ(lines.size(), 70);
  EXPECT_EQ(lines[0], u"\"振込_支払,一覧.csv\""_qs);
  EXPECT_EQ(lines[1], u"\"C:\\ZENGIN\\振込.txt\""_qs);
  EXPECT_EQ(lines[4], u"\"0012345678\""_qs);  // leading zeros kept between quotes
  EXPECT_EQ(lines[5], u"\" ｻﾝﾌﾟﾙｼｮｳｼﾞ  \""_qs);
  EXPECT_EQ(lines[27], u"\"\""_qs);   // an empty body column
  EXPECT_EQ(lines[28], u"\"2\""_qs);  // skip_header_rows is text
  EXPECT_EQ(lines[29], u"1"_qs);      // credit enabled
  EXPECT_EQ(lines[30], u"\"振替_支払,一覧.csv\""_qs);
  EXPECT_EQ(lines[59], u"0"_qs);  // debit enabled
  EXPECT_EQ(lines[60], u"0"_qs);  // credit skip_footer, after the whole debit section
  EXPECT_EQ(lines[61], u"1"_qs);  // debit skip_footer
  EXPECT_EQ(lines[62], u"\"ｱｲｳｴｵ\""_qs);
  EXPECT_EQ(lines.mid(63, 5), (QStringList{u"1"_qs, u"1"_qs, u"0"_qs, u"1"_qs, u"1"_qs}));
  EXPECT_EQ(lines[68], u"258"_qs);
  EXPECT_EQ(lines[69], u"1"_qs);
}

TEST(CompanySettingsFile, AThirtyLineFileFillsOnlyTheCreditSection) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_company_settings(u"full"_qs, sample_company()).ok());
  QStringList lines = file_lines(u"full.cfg"_qs);
  lines = lines.mid(0, 30);
  lines[0] = u"\"short.csv\""_qs;
  write_cp932_file(u"short.cfg"_qs, lines.join(u"\r\n"_qs) + u"\r\n"_qs);

  // The previous company's values stand where the short file says nothing.
  CompanySettings company = sample_company();
  company.credit.skip_footer = true;
  company.debit.skip_footer = false;
  company.options.kana_table = u"ﾊﾟﾚｯﾄ"_qs;
  const Result<LoadedCompanySettings> loaded = load_company_settings(u"short"_qs, company);
  ASSERT_TRUE(loaded.ok());
  company = loaded->settings;

  EXPECT_EQ(company.credit.input_file, u"short.csv"_qs);
  EXPECT_EQ(company.credit.header_values, sample_company().credit.header_values);
  EXPECT_TRUE(company.credit.enabled);
  EXPECT_TRUE(company.credit.skip_footer);  // not in the first 30 lines
  EXPECT_FALSE(company.debit.skip_footer);

  TransferSettings cleared;
  cleared.skip_footer = company.debit.skip_footer;
  EXPECT_EQ(company.debit, cleared);

  EXPECT_EQ(company.options.kana_table, u"ﾊﾟﾚｯﾄ"_qs);
  EXPECT_EQ(company.options.record_length, 258);
  EXPECT_TRUE(company.options.skip_name_check);
}

TEST(CompanySettingsFile, MissingFileIsToldAndChangesNothing) {
  ScopedWorkingDir dir;
  const Result<LoadedCompanySettings> loaded =
      load_company_settings(u"どこにもない"_qs, sample_company());
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.kind(), Failure::Kind::Error);
  EXPECT_EQ(loaded.message(), u"会社別CFGファイルが存在しません"_qs);
}

TEST(CompanySettingsFile, TrailingBlanksOfTheNameAreDroppedLeadingOnesKept) {
  ScopedWorkingDir dir;
  CompanySettings trailing = sample_company();
  trailing.options.kana_table = u"ｱ"_qs;
  ASSERT_TRUE(save_company_settings(u"商事  "_qs, trailing).ok());
  EXPECT_TRUE(QFile::exists(u"商事.cfg"_qs));

  CompanySettings leading = sample_company();
  leading.options.kana_table = u"ｲ"_qs;
  ASSERT_TRUE(save_company_settings(u" 商事"_qs, leading).ok());
  EXPECT_TRUE(QFile::exists(u" 商事.cfg"_qs));

  const Result<LoadedCompanySettings> trimmed = load_company_settings(u"商事   "_qs);
  ASSERT_TRUE(trimmed.ok());
  EXPECT_EQ(trimmed->settings.options.kana_table, u"ｱ"_qs);
  const Result<LoadedCompanySettings> kept = load_company_settings(u" 商事"_qs);
  ASSERT_TRUE(kept.ok());
  EXPECT_EQ(kept->settings.options.kana_table, u"ｲ"_qs);
}

TEST(CompanySettingsFile, ReadsFilesWithLfOrCrLineEnds) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_company_settings(u"crlf"_qs, sample_company()).ok());
  const QByteArray crlf = read_file(u"crlf.cfg"_qs);
  for (const char* end : {"\n", "\r"}) {
    write_file(u"other.cfg"_qs, QByteArray(crlf).replace("\r\n", end));
    const Result<LoadedCompanySettings> loaded = load_company_settings(u"other"_qs);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->settings, sample_company()) << (end[0] == '\n' ? "LF" : "CR");
  }
}

TEST(CompanySettingsFile, NumbersAreReadAsNumbersAndFlagsAsZeroOrOne) {
  ScopedWorkingDir dir;
  QStringList lines(70, u"\"\""_qs);
  lines[29] = u"abc"_qs;     // credit enabled: no number
  lines[59] = u" 1 "_qs;     // debit enabled
  lines[60] = u"2"_qs;       // credit skip_footer: not a check box value
  lines[61] = u"\"1\""_qs;   // debit skip_footer quoted by hand
  lines[68] = u"130.4"_qs;   // record_length
  lines[69] = u"1,junk"_qs;  // skip_name_check
  write_cp932_file(u"hand.cfg"_qs, lines.join(u"\r\n"_qs));
  const Result<LoadedCompanySettings> loaded = load_company_settings(u"hand"_qs, sample_company());
  ASSERT_TRUE(loaded.ok());
  const CompanySettings& company = loaded->settings;
  EXPECT_FALSE(company.credit.enabled);
  EXPECT_TRUE(company.debit.enabled);
  EXPECT_FALSE(company.credit.skip_footer);
  EXPECT_TRUE(company.debit.skip_footer);
  EXPECT_EQ(company.options.record_length, 130);
  EXPECT_TRUE(company.options.skip_name_check);
}

TEST(CompanySettingsFile, GarbageNeverCrashes) {
  ScopedWorkingDir dir;
  QRandomGenerator random(20261207);
  for (int round = 0; round < 50; ++round) {
    QByteArray bytes(static_cast<int>(random.bounded(4000)), '\0');
    for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
    // Lean on the characters the reader cares about.
    for (int i = 0; i < bytes.size(); i += 7) bytes[i] = "\"\r\n, "[random.bounded(5)];
    write_file(u"garbage.cfg"_qs, bytes);
    EXPECT_TRUE(load_company_settings(u"garbage"_qs).ok());
  }
  // A stray huge file is looked at only as far as a settings file can go.
  write_file(u"huge.cfg"_qs, QByteArray(3 << 20, '"'));
  EXPECT_TRUE(load_company_settings(u"huge"_qs).ok());
}

class BadCompanyNames : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(BadCompanyNames, AreRefusedByLoadAndSaveAndTouchNoFile) {
  ScopedWorkingDir dir;
  QDir().mkdir(u"sub"_qs);
  const QString name = QString::fromUtf16(GetParam());
  const Result<void> checked = check_company_name(name);
  ASSERT_FALSE(checked.ok());
  const QString problem = checked.message();
  EXPECT_FALSE(company_settings_file(name).ok());
  EXPECT_FALSE(company_log_file(name).ok());

  const Result<void> saved = save_company_settings(name, sample_company());
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(saved.message(), problem);

  const Result<LoadedCompanySettings> loaded = load_company_settings(name, sample_company());
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.kind(), Failure::Kind::Error);
  EXPECT_EQ(loaded.message(), problem);

  EXPECT_EQ(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"sub"_qs});
  EXPECT_TRUE(QDir(u"sub"_qs).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, BadCompanyNames,
                         ::testing::Values(u"", u"   ", u".", u"..", u".  ", u"..  ", u"sub/a",
                                           u"../a", u"sub\\a", u"a\tb", u"a\nb", u"a\rb", u"a\x7f",
                                           u"a\"b"));

TEST(CompanyNames, PlainNamesNameTheirFiles) {
  EXPECT_TRUE(check_company_name(u"サンプル商事"_qs).ok());
  EXPECT_EQ(*company_settings_file(u"サンプル商事  "_qs), u"サンプル商事.cfg"_qs);
  EXPECT_EQ(*company_log_file(u"サンプル商事  "_qs), u"サンプル商事  .log"_qs);
  EXPECT_EQ(*company_settings_file(u"..a"_qs), u"..a.cfg"_qs);
  EXPECT_EQ(*company_settings_file(u"a.b"_qs), u"a.b.cfg"_qs);
  EXPECT_EQ(*company_settings_file(u"(株)A&B, Ltd."_qs), u"(株)A&B, Ltd..cfg"_qs);
}

struct UnstorableCase {
  const char* name;
  void (*change)(CompanySettings&);
  const char16_t* caption;
};

class UnstorableTexts : public ::testing::TestWithParam<UnstorableCase> {};

TEST_P(UnstorableTexts, AreRefusedNamingTheFieldAndKeepTheOldFile) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_company_settings(u"A"_qs, sample_company()).ok());
  const QByteArray before = read_file(u"A.cfg"_qs);

  CompanySettings company = sample_company();
  GetParam().change(company);
  const Result<void> checked = check_company_settings(company);
  ASSERT_FALSE(checked.ok());
  const QString problem = checked.message();
  EXPECT_TRUE(problem.contains(QString::fromUtf16(GetParam().caption))) << problem.toStdString();

  const Result<void> saved = save_company_settings(u"A"_qs, company);
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(saved.message(), problem);
  EXPECT_EQ(read_file(u"A.cfg"_qs), before);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, UnstorableTexts,
    ::testing::Values(
        UnstorableCase{"QuoteInInputFile",
                       [](CompanySettings& c) { c.credit.input_file = u"a\"b.csv"_qs; },
                       u"振込のﾌｧｲﾙ設定「入力ﾌｧｲﾙ」"},
        UnstorableCase{"QuoteInOutputFile",
                       [](CompanySettings& c) { c.debit.output_file = u"\""_qs; },
                       u"振替のﾌｧｲﾙ設定「出力ﾌｧｲﾙ」"},
        UnstorableCase{"QuoteInCompanyName",
                       [](CompanySettings& c) { c.credit.header_values[3] = u"ｻﾝ\"ﾌﾟﾙ"_qs; },
                       u"振込のﾍｯﾀﾞｰ情報「会社名」"},
        UnstorableCase{"QuoteInTransferDate",
                       [](CompanySettings& c) { c.debit.header_values[4] = u"\"1\""_qs; },
                       u"振替のﾍｯﾀﾞｰ情報「振替指定日」"},
        UnstorableCase{"QuoteInBodyColumn",
                       [](CompanySettings& c) { c.credit.body_columns[7] = u"8\""_qs; },
                       u"振込のﾎﾞﾃﾞｨ情報「預金者名」"},
        UnstorableCase{"QuoteInSkipRows",
                       [](CompanySettings& c) { c.debit.skip_header_rows = u"\""_qs; },
                       u"振替の読み飛し「ﾍｯﾀﾞｰ行数」"},
        UnstorableCase{"QuoteInKanaTable",
                       [](CompanySettings& c) { c.options.kana_table = u"ｱ\"ｲ"_qs; },
                       u"共通の「半角ｶﾀｶﾅ変換対象文字列」"},
        UnstorableCase{"LineBreakInInputFile",
                       [](CompanySettings& c) { c.credit.input_file = u"a\r\nb"_qs; }, u"改行"},
        UnstorableCase{"CharacterShiftJisLacks",
                       [](CompanySettings& c) { c.credit.output_file = u"out😀.txt"_qs; },
                       u"「😀」"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckCompanySettings, NamesHeaderRowsByTheWorkingNamesAndPassesWhenFine) {
  EXPECT_TRUE(check_company_settings(sample_company()).ok());
  FieldTable names = builtin_field_names();
  names.of(TransferKind::Credit, RecordKind::Header)[4] = u"依頼人名"_qs;
  CompanySettings company = sample_company();
  company.credit.header_values[3] = u"\""_qs;
  const Result<void> checked = check_company_settings(company, names);
  ASSERT_FALSE(checked.ok());
  EXPECT_TRUE(checked.message().contains(u"「依頼人名」"_qs));
}

TEST(CompanySettingsFile, AFailedWriteKeepsThePreviousFile) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(save_company_settings(u"A"_qs, sample_company()).ok());
  const QByteArray before = read_file(u"A.cfg"_qs);
  CompanySettings changed = sample_company();
  changed.credit.input_file = u"new.csv"_qs;
  Result<void> saved;
  {
    const FileSizeLimit limit(64);
    saved = save_company_settings(u"A"_qs, changed);
  }
  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(saved.message().contains(u"A.cfg"_qs)) << saved.message().toStdString();
  EXPECT_EQ(read_file(u"A.cfg"_qs), before);
  EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{u"A.cfg"_qs});  // no temporary left
}

TEST(CompanySettingsFile, AFileThatCannotBeReadIsToldAndChangesNothing) {
  ScopedWorkingDir dir;
  QDir().mkdir(u"folder.cfg"_qs);  // names a company, but is no file
  const Result<LoadedCompanySettings> loaded = load_company_settings(u"folder"_qs);
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.message(), u"会社別CFGファイルが存在しません"_qs);
  EXPECT_FALSE(save_company_settings(u"folder"_qs, sample_company()).ok());
  EXPECT_TRUE(QFileInfo(u"folder.cfg"_qs).isDir());
}

}  // namespace
}  // namespace tsubakuro
