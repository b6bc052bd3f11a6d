#include "gui/app/app_messages.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>

#include "core/log/log_messages.h"

namespace tsubakuro::app_messages {
namespace {

const QString kListPrefix = QStringLiteral("支払一覧：");
const QString kRunPrefix = QStringLiteral("前回の変換：");
const QString kGap = QStringLiteral("　");

// The file's name alone: a long folder path would push the rest of the row out
// of a window of the usual width.
QString shown_name(const QString& file) { return QFileInfo(file).fileName(); }

QString grouped(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

}  // namespace

QString no_company() {
  return QStringLiteral("会社が登録されていません。ﾌｧｲﾙ → 環境設定 で登録してください。");
}

QString no_company_chosen() {
  return QStringLiteral("会社が選ばれていません。処理 → 切替 で選んでください。");
}

QString company_and_kind(const QString& company, TransferKind kind) {
  return QStringLiteral("%1（%2）").arg(company, transfer_kind_word(kind));
}

QString list_not_set() { return kListPrefix + QStringLiteral("未設定"); }

QString list_missing(const QString& file) {
  return kListPrefix + QStringLiteral("%1（見つかりません）").arg(shown_name(file));
}

QString list_unreadable(const QString& file) {
  return kListPrefix + QStringLiteral("%1（読めません）").arg(shown_name(file));
}

QString list_found(const QString& file, std::optional<qint64> rows, const QDateTime& modified) {
  QStringList parts{kListPrefix + shown_name(file)};
  if (rows) parts << QStringLiteral("%1行").arg(grouped(*rows));
  parts << QStringLiteral("%1更新").arg(modified.toString(QStringLiteral("yyyy/MM/dd H:mm")));
  return parts.join(kGap);
}

QString company_unreadable(const QString& reason) { return kListPrefix + reason; }

QString bank_rules(const std::optional<BankRules>& rules) {
  const QString prefix = QStringLiteral("銀行提出チェック：");
  if (!rules) return prefix + QStringLiteral("読めません");
  QStringList on;
  if (rules->check_characters) on << QStringLiteral("文字");
  if (rules->normalize_names) on << QStringLiteral("補正");
  if (rules->check_codes) on << QStringLiteral("銀行一覧");
  if (on.isEmpty()) return prefix + QStringLiteral("なし");
  return prefix + on.join(u'・');
}

QString never_converted() { return kRunPrefix + QStringLiteral("未変換"); }

QString other_kind_logged(TransferKind logged) {
  // The log keeps the last run only, whichever kind it converted.
  return kRunPrefix +
         QStringLiteral("記録なし（ログは%1の変換のものです）").arg(transfer_kind_word(logged));
}

QString log_unreadable() { return kRunPrefix + QStringLiteral("ログを読めません"); }

QString last_run_cancelled(const QDateTime& started) {
  return kRunPrefix + log_timestamp(started) + kGap +
         QStringLiteral("中止（銀行ファイルは前のまま）");
}

QString last_run(const QDateTime& started, std::optional<qint64> records,
                 std::optional<qint64> amount, qint64 errors, qint64 corrections) {
  QStringList parts{kRunPrefix + log_timestamp(started)};
  if (records) parts << QStringLiteral("%1件").arg(grouped(*records));
  if (amount) parts << QStringLiteral("%1円").arg(grouped(*amount));
  parts << (errors == 0 ? QStringLiteral("エラーなし")
                        : QStringLiteral("エラー%1件").arg(grouped(errors)));
  if (corrections > 0) parts << QStringLiteral("補正%1件").arg(grouped(corrections));
  return parts.join(kGap);
}

}  // namespace tsubakuro::app_messages
