#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "core/settings/bank_rules_settings.h"
#include "core/zengin/record_kinds.h"

// The texts the main window's status bar shows.
namespace tsubakuro::app_messages {

QString no_company();
// Companies are registered, but none is the current one.
QString no_company_chosen();
QString company_and_kind(const QString& company, TransferKind kind);

// The payment list the next conversion of the current kind reads.
QString list_not_set();
QString list_missing(const QString& file);
QString list_unreadable(const QString& file);
// `rows` is missing while they are counted and for a workbook, whose rows are
// only known once it is converted.
QString list_found(const QString& file, std::optional<qint64> rows, const QDateTime& modified);
QString company_unreadable(const QString& reason);

// The banks' rules a conversion now applies; nothing when "tsubakuro.ini" could
// not be read.
QString bank_rules(const std::optional<BankRules>& rules);

// The last conversion of the current kind, as the company's log records it.
QString never_converted();
QString other_kind_logged(TransferKind logged);
QString log_unreadable();
QString last_run_cancelled(const QDateTime& started);
// `records` and `amount` are the bank file's trailer when that file is the one
// the run wrote.
QString last_run(const QDateTime& started, std::optional<qint64> records,
                 std::optional<qint64> amount, qint64 errors, qint64 corrections);

}  // namespace tsubakuro::app_messages
