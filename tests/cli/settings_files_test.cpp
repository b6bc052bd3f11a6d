// Settings files cut short or full of garbage: loading and converting with them
// ends, says what is wrong, and never changes a file the user had.
#include <gtest/gtest.h>

#include <QFile>
#include <random>

#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

// Loads the settings of the working folder and converts with them to the end,
// in process, as the desktop program's windows would. Returns the files the run
// was to write (its bank file and its log).
QStringList load_and_convert(const std::string& what) {
  SCOPED_TRACE(what);
  SystemSettings system;
  init_field_dictionary(system);
  load_system_settings(system);
  const Result<LoadedCompanySettings> company = load_company_settings(system.current_company);
  if (!company) {
    EXPECT_FALSE(company.message().isEmpty());
    return {};
  }
  ConversionRun run(system, company->settings);
  // A step takes a line; more steps than the list has bytes is a hang.
  const qint64 limit = QFile(QString::fromUtf8(kSampleCreditList)).size() + 16;
  qint64 steps = 0;
  while (run.running() && steps++ < limit) run.step();
  EXPECT_FALSE(run.running()) << "the run never ends";
  if (run.result().failed()) {
    EXPECT_FALSE(run.result().message().isEmpty());
  } else {
    EXPECT_TRUE(run.result().ok());
    const qint64 written = QFile(run.output_file()).size();
    EXPECT_GE(written, 3 * run.options().physical_record_length());
    EXPECT_EQ(written % run.options().physical_record_length(), 0);
  }
  return {run.output_file(), run.log_file()};
}

// Every way of cutting `file` short after a line end or half way through a line.
QList<QByteArray> cuts(const QByteArray& file) {
  QList<QByteArray> cuts = {QByteArray()};
  for (qsizetype end = file.indexOf("\r\n"), start = 0; end >= 0;
       start = end + 2, end = file.indexOf("\r\n", start)) {
    cuts.append(file.first(start + (end - start) / 2));
    cuts.append(file.first(end + 2));
  }
  return cuts;
}

class SettingsFileCutShort : public ::testing::TestWithParam<const char*> {};

TEST_P(SettingsFileCutShort, AtEveryLineStillLoadsAndConverts) {
  ScopedWorkingDir dir;
  copy_sample_company();
  const QString name = QString::fromUtf8(GetParam());
  const QByteArray whole = read_file(name);
  const QList<QByteArray> variants = cuts(whole);
  ASSERT_GT(variants.size(), 2 * 60);
  for (qsizetype i = 0; i < variants.size(); ++i) {
    write_file(name, variants[i]);
    auto before = folder_snapshot();
    const QStringList written = load_and_convert(
        QStringLiteral("%1 cut to %2 bytes").arg(name).arg(variants[i].size()).toStdString());
    auto after = folder_snapshot();
    for (const QString& file : written) {
      before.remove(file);
      after.remove(file);
    }
    EXPECT_EQ(changed_files(before, after).join(u", ").toStdString(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(SampleFiles, SettingsFileCutShort,
                         ::testing::Values("tbk.ini", "サンプル商事.cfg"), [](const auto& info) {
                           return std::string(info.index == 0 ? "TbkIni" : "CompanyFile");
                         });

QByteArray random_bytes(qsizetype size, const QByteArray& alphabet = QByteArray()) {
  std::mt19937 random(static_cast<unsigned>(size));
  QByteArray bytes(size, '\0');
  for (char& byte : bytes)
    byte = alphabet.isEmpty() ? static_cast<char>(random())
                              : alphabet[static_cast<qsizetype>(random() % alphabet.size())];
  return bytes;
}

QByteArray numbers_on_every_line() {
  QByteArray file;
  const QByteArray numbers[] = {QByteArray(400, '9'),
                                "-99999999999999999999",
                                "1e999",
                                "nan",
                                "inf",
                                "-0",
                                "0x1F",
                                "2147483648",
                                "\"\"\"",
                                "\"",
                                ","};
  for (int line = 0; line < 200; ++line) file += numbers[line % std::size(numbers)] + "\r\n";
  return file;
}

TEST(GarbageTbkIni, IsToldAndLeftAlone) {
  ScopedWorkingDir dir;
  copy_sample_company();
  const struct {
    const char* name;
    QByteArray bytes;
  } garbage[] = {
      {"random bytes", random_bytes(64 << 10)},
      {"three megabytes", random_bytes(3 << 20)},
      {"quotes, commas and line ends", random_bytes(20000, QByteArray("\",\r\n \t"))},
      {"numbers out of every range", numbers_on_every_line()},
      {"zero bytes", QByteArray(4096, '\0')},
  };
  for (const auto& file : garbage) {
    SCOPED_TRACE(file.name);
    write_file(QStringLiteral("tbk.ini"), file.bytes);
    const auto before = folder_snapshot();
    const ConverterRun run = run_converter({});
    EXPECT_FALSE(run.crashed || run.timed_out);
    EXPECT_EQ(run.exit_code, 2) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("エラー"))) << run.output.toStdString();
    EXPECT_EQ(changed_files(before, folder_snapshot()).join(u", ").toStdString(), "");

    // Naming the company gets a conversion, with whatever options could be read.
    const ConverterRun named =
        run_converter({QStringLiteral("--company"), QString::fromUtf8(kSampleCompany),
                       QStringLiteral("--kind"), QStringLiteral("振込")});
    EXPECT_FALSE(named.crashed || named.timed_out);
    EXPECT_TRUE(named.exit_code == 0 || named.exit_code == 1) << named.output.toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.ini")), file.bytes);
    load_and_convert(file.name);
  }
}

}  // namespace
}  // namespace tsubakuro::testing
