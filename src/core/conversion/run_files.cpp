#include "core/conversion/run_files.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "core/conversion/conversion_messages.h"
#include "core/files/save_file.h"
#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"
#include "core/settings/company_name.h"
#include "core/settings/company_settings.h"
#include "core/workbook/workbook_kind.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {
namespace {

// Where `path` leads once every link and "." or ".." is resolved; a file not
// there yet resolves through its folder. Empty when the folder does not exist.
QString resolved(const QString& path) {
  const QFileInfo info(path);
  if (info.exists()) return info.canonicalFilePath();
  const QString folder = info.absoluteDir().canonicalPath();
  return folder.isEmpty() ? QString() : QDir(folder).filePath(info.fileName());
}

QString kind_of_special_file(const QString& path) {
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return QString();
  if (S_ISDIR(status.st_mode)) return QStringLiteral("フォルダ");
  if (S_ISFIFO(status.st_mode)) return QStringLiteral("名前付きパイプ");
  if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return QStringLiteral("デバイス");
  if (S_ISSOCK(status.st_mode)) return QStringLiteral("ソケット");
  if (!S_ISREG(status.st_mode)) return QStringLiteral("通常のファイルでないもの");
  return QString();
}

// The payment list of any company and kind in the working folder that `target`
// (resolved) is, as the words naming it: a company keeps its 振込 and 振替 lists
// side by side, and an output path that slipped to the other one would replace
// a list nobody has converted yet. A settings file that cannot be read names no
// list.
struct NamedInput {
  QString what;
  QString file;
};

std::optional<NamedInput> company_input_at(const QString& target) {
  for (const QString& company : company_names()) {
    const Result<LoadedCompanySettings> loaded = load_company_settings(company);
    if (!loaded) continue;
    for (const TransferKind kind : {TransferKind::Credit, TransferKind::Debit}) {
      const QString& input = loaded->settings.section(kind).input_file;
      if (!input.isEmpty() && target == resolved(input))
        return NamedInput{
            conversion_messages::company_input_file(company, transfer_kind_word(kind)), input};
    }
  }
  return std::nullopt;
}

}  // namespace

QString run_input_file(const QString& configured_path) {
  return is_workbook_path(configured_path) ? QString::fromLatin1(kWorkbookTextFile)
                                           : configured_path;
}

QString special_file_kind(const QString& path) { return kind_of_special_file(path); }

Result<void> check_input_file(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path))
    return failure(conversion_messages::input_missing());
  const QString kind = kind_of_special_file(path);
  if (kind.isEmpty()) return {};
  return failure(conversion_messages::input_is_special(path, kind));
}

Result<void> check_output_file(const QString& output, const QString& configured_input,
                               const QString& run_input, const QString& log_file) {
  const QString special = kind_of_special_file(output);
  if (!special.isEmpty()) return failure(conversion_messages::output_is_special(output, special));
  const QString target = resolved(output);
  if (target.isEmpty()) return {};  // the run reports a folder that does not exist
  const auto refusal = [&output](const QString& what, const QString& name) {
    return failure(conversion_messages::output_is_kept_file(output, what, name));
  };
  if (target == resolved(configured_input))
    return refusal(QStringLiteral("入力ファイル"), configured_input);
  if (target == resolved(run_input)) return refusal(QStringLiteral("入力ファイル"), run_input);
  const QString workbook_text = QString::fromLatin1(kWorkbookTextFile);
  if (target == resolved(workbook_text))
    return refusal(QStringLiteral("作業ファイル"), workbook_text);
  if (target == resolved(log_file)) return refusal(QStringLiteral("ログファイル"), log_file);
  const QFileInfo target_info(target);
  if (target_info.absolutePath() == QDir::current().canonicalPath()) {
    const QString name = target_info.fileName();
    for (const char* settings : {"tbk.ini", "tsubakuro.ini"}) {
      if (name == QLatin1String(settings))
        return refusal(QStringLiteral("システム設定ファイル"), name);
    }
    if (name.endsWith(QStringLiteral(".cfg"), Qt::CaseInsensitive))
      return refusal(QStringLiteral("会社別CFGファイル"), name);
    if (name.endsWith(QStringLiteral(".lock"), Qt::CaseInsensitive))
      return refusal(QStringLiteral("変換中の印のファイル"), name);
  }
  if (const std::optional<NamedInput> input = company_input_at(target))
    return refusal(input->what, input->file);
  return {};
}

QString pending_file_name(const QString& path) { return path + QStringLiteral(".tsubakuro-new"); }

namespace {

// Whether a log ends with the marker of a run that ended (変換終了, or
// キャンセル for a cancelled run, which puts its log alone in place).
bool log_ends_a_run(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  constexpr qint64 kTail = 256;
  file.seek(std::max<qint64>(0, file.size() - kTail));
  const QByteArray tail = file.read(kTail);
  if (!tail.endsWith("\"\r\n")) return false;
  const qsizetype line_start = tail.lastIndexOf("\r\n", tail.size() - 3);
  const QByteArray last = tail.sliced(line_start < 0 ? 0 : line_start + 2);
  for (const QString& marker : {log_end_marker(), log_cancel_marker()}) {
    QByteArray expected = "\"";
    ConversionLog::encode_message(marker + u' ', expected);
    if (last.startsWith(expected)) return true;
  }
  return false;
}

}  // namespace

void settle_pending_pair(const QString& output, const QString& log) {
  const QString output_pending = pending_file_name(output);
  const QString log_pending = pending_file_name(log);
  // The bank file is renamed first: its pending name gone while the log's is
  // there means the bank file of this log is in place.
  if (!output.isEmpty() && !QFileInfo::exists(output_pending) && QFileInfo(log_pending).isFile() &&
      log_ends_a_run(log_pending))
    (void)rename_over(log_pending, log);
  if (!output.isEmpty()) QFile::remove(output_pending);
  QFile::remove(log_pending);
}

}  // namespace tsubakuro
