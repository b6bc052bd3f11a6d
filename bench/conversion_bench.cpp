// How fast a whole conversion runs, in payment rows per second, against the floor
// any conversion has to pay: decoding the same CP932 bytes and encoding them again,
// with the program's codec and with glibc's iconv (the goal: a conversion costs no
// more than the iconv pair, one whose every row is wrong no more than twice that).
// Then how long a workbook takes to become "tbk.tmp" without the office suite, and
// the peak memory of doing so. The ratios and times are printed at the end.

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <zip.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <string_view>

#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"
#include "core/workbook/workbook_export.h"

namespace tsubakuro {
namespace {

using namespace Qt::StringLiterals;

constexpr char16_t kCompany[] = u"ベンチ商事";

// The columns of the sample company's payment list (examples/振込データ.csv),
// the rows of bench/make-payment-list.py.
QString payment_row(qint64 index) {
  static const QStringList kBanks = {u"0310,ﾐﾅﾄｷﾞﾝｺｳ"_s, u"0325,ﾂﾊﾞｷｼﾝｷﾝ"_s, u"0348,ｶｴﾃﾞｷﾞﾝｺｳ"_s,
                                     u"0352,ｻｸﾗｶﾞﾜｷﾞﾝｺｳ"_s, u"0377,ﾋﾊﾞﾘｼﾝｸﾐ"_s};
  static const QStringList kBranches = {u"001,ﾎﾝﾃﾝ"_s, u"102,ｴｷﾏｴ"_s, u"215,ﾐﾅﾐｸﾞﾁ"_s,
                                        u"318,ｷﾀﾏﾁ"_s, u"420,ｺｳｴﾝﾄﾞｵﾘ"_s};
  static const QStringList kFamily = {u"ﾔﾏﾀﾞ"_s,  u"ｽｽﾞｷ"_s, u"ﾀﾅｶ"_s,  u"ｻﾄｳ"_s,   u"ﾀｶﾊｼ"_s,
                                      u"ﾜﾀﾅﾍﾞ"_s, u"ｲﾄｳ"_s,  u"ﾅｶﾑﾗ"_s, u"ｺﾊﾞﾔｼ"_s, u"ｶﾄｳ"_s,
                                      u"ﾖｼﾀﾞ"_s,  u"ﾔﾏﾓﾄ"_s, u"ｻｻｷ"_s,  u"ﾔﾏｸﾞﾁ"_s, u"ﾏﾂﾓﾄ"_s,
                                      u"ｲﾉｳｴ"_s,  u"ｷﾑﾗ"_s};
  static const QStringList kGiven = {u"ﾀﾛｳ"_s, u"ﾊﾅｺ"_s,  u"ｲﾁﾛｳ"_s, u"ﾐｻｷ"_s,   u"ｹﾝｼﾞ"_s,
                                     u"ﾕｳｺ"_s, u"ｼｮｳﾀ"_s, u"ｱﾔ"_s,   u"ﾀﾞｲｽｹ"_s, u"ﾒｸﾞﾐ"_s,
                                     u"ﾂﾖｼ"_s, u"ﾅｵｺ"_s,  u"ﾘｮｳ"_s};
  return u"%1,%2,%3,%4,%5 %6,%7,%8,給与"_s.arg(kBanks[index % kBanks.size()])
      .arg(kBranches[(index / 5) % kBranches.size()])
      .arg(QLatin1Char(index % 7 == 6 ? '2' : '1'))
      .arg((1234567 + index * 2718281) % 10000000, 7, 10, QLatin1Char('0'))
      .arg(kFamily[index % kFamily.size()], kGiven[(index / 3) % kGiven.size()])
      .arg(1000 + (index * 7919) % 999000)
      .arg(100000 + index);
}

// A folder holding one payment list per size, with the sample company's settings
// in memory; the runs write their bank file and log beside it.
class Workspace {
 public:
  Workspace() {
    if (!folder_.isValid() || !QDir::setCurrent(folder_.path())) std::abort();
    init_field_dictionary(system_);
    system_.current_company = QString::fromUtf16(kCompany);
    system_.options.crlf_each_record = true;
    system_.options.record_length = 122;
    TransferSettings& credit = company_.credit;
    credit.output_file = u"FURIKOMI.DAT"_s;
    credit.header_values = {u"21"_s,   u"0"_s,    u"1234567890"_s, u"ﾍﾞﾝﾁｼｮｳｼﾞ"_s,
                            u"0425"_s, u"0310"_s, u"ﾐﾅﾄｷﾞﾝｺｳ"_s,   u"001"_s,
                            u"ﾎﾝﾃﾝ"_s, u"1"_s,    u"1234567"_s,    QString()};
    credit.body_columns = {u"1"_s, u"2"_s, u"3"_s,    u"4"_s, QString(), u"5"_s,    u"6"_s,
                           u"7"_s, u"8"_s, QString(), u"9"_s, QString(), QString(), QString()};
    credit.skip_header_rows = u"1"_s;
    credit.enabled = true;
  }

  // The settings of a run over `rows` payment rows; the list is written once. In
  // a list of wrong rows every payee's name is written in full-width kana, which
  // the bank file cannot hold: each row logs a field error.
  const CompanySettings& company_for(qint64 rows, bool wrong = false) {
    const QString name = (wrong ? u"誤り%1.csv"_s : u"振込%1.csv"_s).arg(rows);
    if (!QFile::exists(name)) {
      QFile file(name);
      if (!file.open(QIODevice::WriteOnly)) std::abort();
      file.write(encode_cp932(u"銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,"
                              u"受取人名,振込金額,取引先番号,摘要\r\n")
                     .bytes);
      for (qint64 index = 0; index < rows; ++index) {
        QString row = payment_row(index);
        if (wrong) row.replace(u"ﾀ"_s, u"タ"_s).replace(u"ｲ"_s, u"イ"_s).replace(u"ｻ"_s, u"サ"_s);
        file.write(encode_cp932(row + u"\r\n"_s).bytes);
      }
    }
    company_.credit.input_file = name;
    return company_;
  }

  // A workbook of `rows` payment rows and a heading row, written as a spreadsheet
  // program writes one: text in the shared string table, numbers in the cells.
  QString workbook_for(qint64 rows) {
    const QString name = u"振込%1.xlsx"_s.arg(rows);
    if (QFile::exists(name)) return name;
    QByteArray sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    QByteArray strings;
    QHash<QString, int> string_index;
    const auto shared = [&](const QString& text) {
      auto found = string_index.find(text);
      if (found == string_index.end()) {
        found = string_index.insert(text, string_index.size());
        strings += "<si><t>" + text.toHtmlEscaped().toUtf8() + "</t></si>";
      }
      return QByteArray::number(*found);
    };
    for (qint64 index = -1; index < rows; ++index) {
      const QStringList cells =
          index < 0 ? u"銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,受取人名,"
                      u"振込金額,取引先番号,摘要"_s.split(u',')
                    : payment_row(index).split(u',');
      const QByteArray r = QByteArray::number(index + 2);
      sheet += "<row r=\"" + r + "\">";
      for (int c = 0; c < cells.size(); ++c) {
        const QByteArray ref = QByteArray(1, char('A' + c)) + r;
        // Codes with leading zeros are text; counts and amounts are numbers.
        const bool number = index >= 0 && (c == 4 || c == 7 || c == 8);
        if (number)
          sheet += "<c r=\"" + ref + "\"><v>" + cells[c].toUtf8() + "</v></c>";
        else
          sheet += "<c r=\"" + ref + "\" t=\"s\"><v>" + shared(cells[c]) + "</v></c>";
      }
      sheet += "</row>";
    }
    sheet += "</sheetData></worksheet>";
    strings =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<sst "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" +
        strings + "</sst>";
    const QByteArray types =
        R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/><Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>)";
    const QByteArray root_rels =
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
    const QByteArray workbook =
        R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="振込" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    const QByteArray workbook_rels =
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>)";
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(name).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) std::abort();
    const std::pair<const char*, const QByteArray*> members[] = {
        {"[Content_Types].xml", &types},      {"_rels/.rels", &root_rels},
        {"xl/workbook.xml", &workbook},       {"xl/_rels/workbook.xml.rels", &workbook_rels},
        {"xl/worksheets/sheet1.xml", &sheet}, {"xl/sharedStrings.xml", &strings}};
    for (const auto& [member, bytes] : members) {
      zip_source_t* source = zip_source_buffer(archive, bytes->constData(), bytes->size(), 0);
      if (!source || zip_file_add(archive, member, source, ZIP_FL_ENC_UTF_8) < 0) std::abort();
    }
    if (zip_close(archive) != 0) std::abort();
    return name;
  }

  const SystemSettings& system() const { return system_; }

 private:
  QTemporaryDir folder_;
  SystemSettings system_;
  CompanySettings company_;
};

Workspace& workspace() {
  static Workspace instance;
  return instance;
}

void Conversion(benchmark::State& state) {
  const qint64 rows = state.range(0);
  const CompanySettings& company = workspace().company_for(rows);
  for (auto _ : state) {
    ConversionRun run(workspace().system(), company);
    while (run.running()) run.step();
    // The trailer's 合計件数 holds six digits: a million rows log that one error.
    const bool count_fits = rows < 1'000'000;
    if (!run.result().ok() || run.has_errors() == count_fits || run.row_count() != rows) {
      state.SkipWithError("the conversion did not convert every row cleanly");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * rows);
  state.SetBytesProcessed(state.iterations() * QFileInfo(company.credit.input_file).size());
}

// Every row has a payee name the bank file cannot hold.
void WrongRowsConversion(benchmark::State& state) {
  const qint64 rows = state.range(0);
  const CompanySettings& company = workspace().company_for(rows, /*wrong=*/true);
  for (auto _ : state) {
    ConversionRun run(workspace().system(), company);
    while (run.running()) run.step();
    if (!run.result().ok() || !run.has_errors() || run.row_count() != rows) {
      state.SkipWithError("the conversion did not log the wrong rows");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * rows);
}

// glibc's converter both ways over the same bytes, as
// `iconv -f CP932 -t UTF-8 | iconv -f UTF-8 -t CP932` does it.
QByteArray iconv_bytes(iconv_t converter, const QByteArray& in, qsizetype room) {
  QByteArray out(room, Qt::Uninitialized);
  char* in_ptr = const_cast<char*>(in.constData());
  char* out_ptr = out.data();
  size_t in_left = in.size();
  size_t out_left = out.size();
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1))
    std::abort();
  out.truncate(out.size() - out_left);
  return out;
}

void IconvDecodeEncode(benchmark::State& state, bool wrong) {
  const qint64 rows = state.range(0);
  QFile file(workspace().company_for(rows, wrong).credit.input_file);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  const QByteArray bytes = file.readAll();
  iconv_t decoder = iconv_open("UTF-8", "CP932");
  iconv_t encoder = iconv_open("CP932", "UTF-8");
  for (auto _ : state) {
    const QByteArray utf8 = iconv_bytes(decoder, bytes, bytes.size() * 2);
    const QByteArray back = iconv_bytes(encoder, utf8, utf8.size());
    benchmark::DoNotOptimize(back.constData());
  }
  iconv_close(decoder);
  iconv_close(encoder);
  state.SetItemsProcessed(state.iterations() * rows);
}

void IconvDecodeEncodeRight(benchmark::State& state) { IconvDecodeEncode(state, false); }
void IconvDecodeEncodeWrong(benchmark::State& state) { IconvDecodeEncode(state, true); }

// A workbook's first sheet into "tbk.tmp" the way a conversion makes it (wall time:
// a user waits for it).
void WorkbookToText(benchmark::State& state) {
  const QString book = workspace().workbook_for(state.range(0));
  for (auto _ : state) {
    const Result<void> result = WorkbookExport(book, u"tbk.tmp"_s).run();
    if (!result) {
      state.SkipWithError(result.message().toStdString().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same through the office suite, as a workbook the program's reader leaves to
// it would go: the program's own reader is there to be much faster. The suite may
// take minutes on a million rows; it is given them.
void WorkbookToTextBySuite(benchmark::State& state) {
  const QString book = workspace().workbook_for(state.range(0));
  if (office_suite_program().isEmpty()) {
    state.SkipWithError("LibreOffice (soffice) is not installed");
    return;
  }
  for (auto _ : state) {
    WorkbookExport conversion(book, u"tbk.tmp"_s, 1'800'000);
    conversion.use_office_suite_only();
    const Result<void> result = conversion.run();
    if (!result) {
      state.SkipWithError(result.message().toStdString().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

constexpr char kReadWorkbookArgument[] = "--read-workbook";

// The peak resident memory of reading a workbook, in a process of its own (this
// program started anew, see main), which reports its own high-water mark: the
// lists and tables of the other benchmarks do not count, nor does a forked copy
// of them, which the kernel's count for the child would keep across exec.
double workbook_peak_megabytes(qint64 rows) {
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(),
              {QString::fromLatin1(kReadWorkbookArgument),
               QFileInfo(workspace().workbook_for(rows)).absoluteFilePath()});
  if (!child.waitForFinished(600'000) || child.exitStatus() != QProcess::NormalExit ||
      child.exitCode() != 0)
    return -1;
  return child.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

// VmHWM of this process, in kB.
QByteArray own_peak_kilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return "-1";
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).replace("kB", "").trimmed();
  }
  return "-1";
}

void Cp932DecodeEncode(benchmark::State& state) {
  const qint64 rows = state.range(0);
  QFile file(workspace().company_for(rows).credit.input_file);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  const QByteArray bytes = file.readAll();
  for (auto _ : state) {
    const Cp932Encoding encoded = encode_cp932(decode_cp932(bytes));
    benchmark::DoNotOptimize(encoded.bytes.constData());
  }
  state.SetItemsProcessed(state.iterations() * rows);
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(Conversion)
    ->ArgName("rows")
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Cp932DecodeEncode)
    ->ArgName("rows")
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(IconvDecodeEncodeRight)
    ->ArgName("rows")
    ->Arg(1'000'000)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WrongRowsConversion)
    ->ArgName("rows")
    ->Arg(100'000)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(IconvDecodeEncodeWrong)
    ->ArgName("rows")
    ->Arg(100'000)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WorkbookToText)
    ->ArgName("rows")
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WorkbookToTextBySuite)
    ->ArgName("rows")
    ->Arg(1'000'000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The console report, followed by how many times a plain decode and encode each
// conversion takes. The ratio uses processor time: the machines this runs on are
// shared, and waiting for a processor says nothing about the code.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      // "Kind/rows:N", with "/real_time" after it for the workbooks.
      const size_t kind_end = name.find('/');
      const std::string kind = name.substr(0, kind_end);
      const size_t rows_end = name.find('/', kind_end + 1);
      const std::string rows =
          name.substr(kind_end + 1,
                      rows_end == std::string::npos ? std::string::npos : rows_end - kind_end - 1);
      // Of repeated runs the fastest counts: what slows a run on a shared machine
      // is other work, never the code.
      auto keep_least = [](double& kept, double value) {
        if (kept <= 0 || value < kept) kept = value;
      };
      if (kind == "WorkbookToText")
        keep_least(workbook_seconds_[rows], run.GetAdjustedRealTime() / 1000);
      else if (kind == "WorkbookToTextBySuite")
        keep_least(suite_seconds_[rows], run.GetAdjustedRealTime() / 1000);
      else
        keep_least(cpu_[kind][rows], run.GetAdjustedCPUTime());
    }
  }

  void Finalize() override {
    for (const auto& [rows, conversion] : cpu_["Conversion"]) {
      const double plain = cpu_["Cp932DecodeEncode"][rows];
      if (plain <= 0) continue;
      std::printf(
          "%s: a conversion takes %.2f times the processor time of the program's own CP932 "
          "decode and encode\n",
          rows.c_str(), conversion / plain);
    }
    ratio("Conversion", "IconvDecodeEncodeRight", "rows:1000000",
          "1,000,000 rows: a conversion takes %.2f times the processor time of iconv's decode "
          "and encode (goal: at most 1.0)\n");
    ratio("WrongRowsConversion", "IconvDecodeEncodeWrong", "rows:100000",
          "100,000 wrong rows: a conversion takes %.2f times the processor time of iconv's "
          "decode and encode (goal: at most 2.0)\n");
    for (const auto& [rows, seconds] : workbook_seconds_) {
      std::printf("%s: a workbook becomes tbk.tmp in %.3f s of wall time (goal: %s)\n",
                  rows.c_str(), seconds, rows == "rows:1000" ? "under 0.3 s" : "under 10 s");
    }
    for (const auto& [rows, suite] : suite_seconds_) {
      const double own = workbook_seconds_[rows];
      if (own > 0 && suite > 0)
        std::printf(
            "%s: the program's reader takes %.3f of the office suite's wall time (%.1f s) on the "
            "same workbook (goal: at most 0.5)\n",
            rows.c_str(), own / suite, suite);
    }
    if (workbook_seconds_.contains("rows:1000000")) {
      std::printf("rows:1000000: reading the workbook peaks at %.1f MB (goal: under 100 MB)\n",
                  workbook_peak_megabytes(1'000'000));
    }
    ConsoleReporter::Finalize();
  }

 private:
  void ratio(const char* kind, const char* floor, const char* rows, const char* format) {
    const double cost = cpu_[kind][rows];
    const double plain = cpu_[floor][rows];
    if (cost > 0 && plain > 0) std::printf(format, cost / plain);
  }

  std::map<std::string, std::map<std::string, double>> cpu_;
  std::map<std::string, double> workbook_seconds_;
  std::map<std::string, double> suite_seconds_;
};

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc == 3 && std::string_view(argv[1]) == tsubakuro::kReadWorkbookArgument) {
    QTemporaryDir folder;
    const QString text = QDir(folder.path()).filePath(QStringLiteral("tbk.tmp"));
    const auto result = tsubakuro::WorkbookExport(QFile::decodeName(argv[2]), text).run();
    std::printf("%s\n", tsubakuro::own_peak_kilobytes().constData());
    return result ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tsubakuro::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
