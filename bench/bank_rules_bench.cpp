// What tsubakuro-convert costs with the banks' rules as the sample company and
// every new folder ship them, against glibc's iconv both ways over the same bytes
// (`iconv -f CP932 -t UTF-8 | iconv -f UTF-8 -t CP932`): whole processes, processor
// time (user + sys), each the fastest of three, the converter's summary and the
// loading of the bank list included. Each list has 1,000,000 rows in the sample
// company's columns, with banks and branches taken from the shipped bank list
// under their own kana, so an ordinary row is one no rule has anything to say of.
// The table and the goals are printed at the end, with each run's peak memory.
//
//   build/bench/bank_rules_bench   (GNU time, Debian package "time", takes the peaks)
//   TSUBAKURO_BENCH_ROWS=100000 build/bench/bank_rules_bench   (a quicker look)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "core/text/cp932.h"
#include "core/zengin/bank_characters.h"
#include "core/zengin/bank_list.h"

extern char** environ;

namespace tsubakuro {
namespace {

using namespace Qt::StringLiterals;

qint64 row_count() {
  const qint64 asked = qEnvironmentVariableIntValue("TSUBAKURO_BENCH_ROWS");
  return asked > 0 ? asked : 1'000'000;
}

// The lists: every row right; every payee's name in full-width katakana or in
// hiragana, which the name rules mend (one note a row); every row wrong in its
// account number; every row wrong in its account number, deposit kind and amount.
enum class List { Ordinary, FullWidth, WrongOne, WrongThree };

QString list_folder_name(List list) {
  switch (list) {
    case List::Ordinary:
      return u"ordinary"_s;
    case List::FullWidth:
      return u"full-width"_s;
    case List::WrongOne:
      return u"wrong-one"_s;
    case List::WrongThree:
      return u"wrong-three"_s;
  }
  return {};
}

struct Listed {
  QString code;
  QString kana;
};

// A name the rules have nothing to say of: the banks' characters without letters
// or symbols, whole in its field, and no other entry's name.
bool plain_name(QStringView kana, QSet<QString>& keys) {
  if (kana.isEmpty() || kana.size() > 15 || !check_bank_name(kana)) return false;
  for (const QChar c : kana) {
    if (!(c == u' ' || (c >= u'0' && c <= u'9') || (c >= u'ｱ' && c <= u'ﾟ'))) return false;
  }
  const QString key = bank_name_key(kana);
  if (keys.contains(key)) return false;
  keys.insert(key);
  return true;
}

struct Bank {
  Listed bank;
  std::vector<Listed> branches;
};

// Five banks of the shipped list with five branches each.
std::vector<Bank> listed_banks() {
  const auto list = BankList::read(QStringLiteral(TSUBAKURO_SOURCE_DIR "/data/banks.tsv"));
  if (!list) std::abort();
  std::vector<Bank> banks;
  QSet<QString> bank_keys;
  for (const BankListEntry& bank : (*list)->find_banks(QString())) {
    if (!plain_name(bank.kana, bank_keys)) continue;
    Bank chosen{{bank.code.toString(), bank.kana.toString()}, {}};
    QSet<QString> branch_keys;
    for (const BankListEntry& branch : (*list)->find_branches(bank.code, QString())) {
      if (plain_name(branch.kana, branch_keys))
        chosen.branches.push_back({branch.code.toString(), branch.kana.toString()});
      if (chosen.branches.size() == 5) break;
    }
    if (chosen.branches.size() == 5) banks.push_back(std::move(chosen));
    if (banks.size() == 5) break;
  }
  if (banks.size() != 5) std::abort();
  return banks;
}

const QStringList kFamily = {u"ﾔﾏﾀﾞ"_s, u"ｽｽﾞｷ"_s,  u"ﾀﾅｶ"_s,   u"ｻﾄｳ"_s,  u"ﾀｶﾊｼ"_s, u"ﾜﾀﾅﾍﾞ"_s,
                             u"ｲﾄｳ"_s,  u"ﾅｶﾑﾗ"_s,  u"ｺﾊﾞﾔｼ"_s, u"ｶﾄｳ"_s,  u"ﾖｼﾀﾞ"_s, u"ﾔﾏﾓﾄ"_s,
                             u"ｻｻｷ"_s,  u"ﾔﾏｸﾞﾁ"_s, u"ﾏﾂﾓﾄ"_s,  u"ｲﾉｳｴ"_s, u"ｷﾑﾗ"_s};
const QStringList kGiven = {u"ﾀﾛｳ"_s, u"ﾊﾅｺ"_s,  u"ｲﾁﾛｳ"_s, u"ﾐｻｷ"_s,   u"ｹﾝｼﾞ"_s,
                            u"ﾕｳｺ"_s, u"ｼﾖｳﾀ"_s, u"ｱﾔ"_s,   u"ﾀﾞｲｽｹ"_s, u"ﾒｸﾞﾐ"_s,
                            u"ﾂﾖｼ"_s, u"ﾅｵｺ"_s,  u"ﾘﾖｳ"_s};

// The half-width name in full-width katakana, or in hiragana, with a full-width space.
QString full_width(const QString& name, bool hiragana) {
  QString wide = name.normalized(QString::NormalizationForm_KC);
  for (QChar& c : wide) {
    if (c == u' ') c = u'\u3000';
    if (hiragana && c >= u'ァ' && c <= u'ヶ') c = QChar(c.unicode() - (u'ァ' - u'ぁ'));
  }
  return wide;
}

QString payment_row(const std::vector<Bank>& banks, qint64 index, List list) {
  const Bank& bank = banks[index % banks.size()];
  const Listed& branch = bank.branches[(index / 5) % bank.branches.size()];
  QString name = kFamily[index % kFamily.size()] + u' ' + kGiven[(index / 3) % kGiven.size()];
  QString kind = index % 7 == 6 ? u"2"_s : u"1"_s;
  QString account = u"%1"_s.arg((1234567 + index * 2718281) % 10000000, 7, 10, QLatin1Char('0'));
  QString amount = QString::number(1000 + (index * 7919) % 999000);
  if (list == List::FullWidth) name = full_width(name, index % 2 == 1);
  if (list == List::WrongOne || list == List::WrongThree) account[6] = u'X';
  if (list == List::WrongThree) {
    kind = u"7"_s;
    amount[1] = u'O';
  }
  return u"%1,%2,%3,%4,%5,%6,%7,%8,%9,給与"_s
      .arg(bank.bank.code, bank.bank.kana, branch.code, branch.kana, kind, account, name, amount)
      .arg(100000 + index);
}

// One folder per list with the sample company's settings and the list as its
// payment list; the converter writes its bank file and log there.
class Workspace {
 public:
  Workspace() {
    if (!root_.isValid()) std::abort();
  }

  QString folder_for(List list) {
    const QString folder = root_.filePath(list_folder_name(list));
    if (QDir(folder).exists()) return folder;
    if (!QDir().mkpath(folder)) std::abort();
    const QDir examples(QStringLiteral(TSUBAKURO_SOURCE_DIR "/examples"));
    for (const QString& name : {u"tbk.ini"_s, u"サンプル商事.cfg"_s}) {
      if (!QFile::copy(examples.filePath(name), folder + u'/' + name)) std::abort();
    }
    if (banks_.empty()) banks_ = listed_banks();
    QFile file(list_file(list));
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    file.write(encode_cp932(u"銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,"
                            u"受取人名,振込金額,取引先番号,摘要\r\n")
                   .bytes);
    QString batch;
    for (qint64 index = 0; index < row_count(); ++index) {
      batch += payment_row(banks_, index, list) + u"\r\n"_s;
      if (index % 10000 == 9999) {
        file.write(encode_cp932(batch).bytes);
        batch.clear();
      }
    }
    file.write(encode_cp932(batch).bytes);
    return folder;
  }

  QString list_file(List list) {
    return root_.filePath(list_folder_name(list)) + u"/振込データ.csv"_s;
  }

 private:
  QTemporaryDir root_;
  std::vector<Bank> banks_;
};

Workspace& workspace() {
  static Workspace instance;
  return instance;
}

struct Usage {
  double cpu_seconds = -1;
};

double seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }

// Runs a program to its end, quiet, and takes the processor time of it and of
// every process it waited for (the pipe's two iconvs, the converter under time).
Usage run_quietly(const std::vector<QByteArray>& arguments) {
  std::vector<char*> argv;
  for (const QByteArray& argument : arguments) argv.push_back(const_cast<char*>(argument.data()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  rusage before{};
  getrusage(RUSAGE_CHILDREN, &before);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return {};
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return {};
  rusage after{};
  getrusage(RUSAGE_CHILDREN, &after);
  // The converter ends with 1 when the list holds field errors.
  if (WEXITSTATUS(status) > 1) return {};
  return {seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
          seconds(before.ru_stime)};
}

struct Rules {
  bool check_characters = false;
  bool normalize_names = false;
  bool check_codes = false;
};

void Converter(benchmark::State& state, List list, Rules rules) {
  const QString folder = workspace().folder_for(list);
  const QByteArray program =
      QFile::encodeName(QCoreApplication::applicationDirPath() + u"/../tsubakuro-convert"_s);
  const auto on_off = [](bool on) { return QByteArray(on ? "on" : "off"); };
  // GNU time reports the converter's own peak: a process spawned from this one
  // would count this one's memory as its own.
  const QString peak_file = QDir(folder).filePath(u"peak.txt"_s);
  const std::vector<QByteArray> arguments = {"/usr/bin/time",
                                             "-f",
                                             "%M",
                                             "-o",
                                             QFile::encodeName(peak_file),
                                             program,
                                             "--dir",
                                             QFile::encodeName(folder),
                                             "--check-characters",
                                             on_off(rules.check_characters),
                                             "--normalize-names",
                                             on_off(rules.normalize_names),
                                             "--check-codes",
                                             on_off(rules.check_codes)};
  for (auto _ : state) {
    const Usage usage = run_quietly(arguments);
    if (usage.cpu_seconds < 0) {
      state.SkipWithError("tsubakuro-convert did not convert the list");
      break;
    }
    state.SetIterationTime(usage.cpu_seconds);
    QFile peak(peak_file);
    // Its last line; a line before it tells the exit status when it is not 0.
    if (peak.open(QIODevice::ReadOnly))
      state.counters["peak_mib"] = peak.readAll().trimmed().split('\n').last().toDouble() / 1024.0;
  }
}

void IconvPair(benchmark::State& state, List list) {
  workspace().folder_for(list);
  const QByteArray command = "iconv -f CP932 -t UTF-8 < '" +
                             QFile::encodeName(workspace().list_file(list)) +
                             "' | iconv -f UTF-8 -t CP932 > /dev/null";
  for (auto _ : state) {
    const Usage usage = run_quietly({"/bin/sh", "-c", command});
    if (usage.cpu_seconds < 0) {
      state.SkipWithError("iconv did not convert the list");
      break;
    }
    state.SetIterationTime(usage.cpu_seconds);
  }
}

constexpr Rules kOff;
constexpr Rules kAllOn{true, true, true};

// The rows of the table, in order: the benchmark's name, its list and rules.
struct Case {
  const char* name;
  List list;
  Rules rules;
  const char* row;
  double goal;  // 0: none
};
constexpr Case kCases[] = {
    {"ordinary/rules_off", List::Ordinary, kOff, "ordinary, rules off", 0},
    {"ordinary/all_rules", List::Ordinary, kAllOn, "ordinary, all rules on (as shipped)", 1.0},
    {"ordinary/check_characters",
     List::Ordinary,
     {true, false, false},
     "ordinary, check_characters only",
     0},
    {"ordinary/normalize_names",
     List::Ordinary,
     {false, true, false},
     "ordinary, normalize_names only",
     0},
    {"ordinary/check_codes", List::Ordinary, {false, false, true}, "ordinary, check_codes only", 0},
    {"full_width/all_rules", List::FullWidth, kAllOn, "full-width and hiragana names, all rules on",
     2.0},
    {"wrong_one/rules_off", List::WrongOne, kOff, "every row wrong in one field, rules off", 0},
    {"wrong_one/all_rules", List::WrongOne, kAllOn, "every row wrong in one field, all on", 0},
    {"wrong_three/rules_off", List::WrongThree, kOff, "every row wrong in three fields, rules off",
     2.0},
    {"wrong_three/all_rules", List::WrongThree, kAllOn, "every row wrong in three fields, all on",
     2.0},
};

// The fastest of each run's repetitions, and the table.
class TableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      std::string name = run.benchmark_name();
      name = name.substr(0, name.find("/iterations"));
      const double cpu = run.real_accumulated_time / run.iterations;
      if (!cpu_.contains(name) || cpu < cpu_[name]) cpu_[name] = cpu;
      if (const auto peak = run.counters.find("peak_mib"); peak != run.counters.end())
        peak_[name] = std::max(peak_[name], static_cast<double>(peak->second));
    }
  }

  void Finalize() override {
    std::printf(
        "\n%lld rows | ratio to the iconv pair | converter CPU s | iconv pair CPU s | "
        "peak MB | goal\n",
        static_cast<long long>(row_count()));
    double peak = 0;
    for (const Case& c : kCases) {
      const std::string iconv = "iconv/" + list_folder_name(c.list).toStdString();
      if (!cpu_.contains(c.name) || !cpu_.contains(iconv) || cpu_[iconv] <= 0) continue;
      const double ratio = cpu_[c.name] / cpu_[iconv];
      std::printf("%-45s | %5.2f | %7.3f | %6.3f | %5.1f | %s\n", c.row, ratio, cpu_[c.name],
                  cpu_[iconv], peak_[c.name],
                  c.goal == 0       ? ""
                  : ratio <= c.goal ? "met"
                                    : "NOT MET");
      peak = std::max(peak, peak_[c.name]);
    }
    std::printf("peak memory of any run: %.1f MB (goal: under 32 MB)\n", peak);
    ConsoleReporter::Finalize();
  }

 private:
  std::map<std::string, double> cpu_;
  std::map<std::string, double> peak_;
};

void register_benchmarks() {
  // Each list's floor first, then the runs on it, so the two share the machine's
  // load as closely as they can.
  for (const List list : {List::Ordinary, List::FullWidth, List::WrongOne, List::WrongThree}) {
    const std::string floor = "iconv/" + list_folder_name(list).toStdString();
    benchmark::RegisterBenchmark(floor.c_str(), IconvPair, list)
        ->Iterations(1)
        ->Repetitions(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    for (const Case& c : kCases) {
      if (c.list != list) continue;
      benchmark::RegisterBenchmark(c.name, Converter, c.list, c.rules)
          ->Iterations(1)
          ->Repetitions(3)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tsubakuro::register_benchmarks();
  tsubakuro::TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
