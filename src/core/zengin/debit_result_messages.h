#pragma once

#include <QString>
#include <QStringList>

namespace tsubakuro::debit_result_messages {

// The texts the window and the converter show about a returned 振替 file and the
// list of the records it did not debit.

// "12件 ¥34,500".
QString figures(qint64 count, qint64 amount);
// "振替済 n件 ¥…、振替不能 n件 ¥…", and the reasons in brackets when there are any.
QString summary(const QString& debited, const QString& not_debited, const QStringList& reasons);
// "資金不足 2件 ¥14,300".
QString reason(const QString& meaning, const QString& figures);

// A figure of the trailer that the data records do not bear out.
QString trailer_count_differs(const QString& field, qint64 trailer, qint64 records);
QString trailer_amount_differs(const QString& field, qint64 trailer, qint64 records);
QString trailer_field_unreadable(const QString& field);

QString bank_file_unopenable(const QString& path);
QString not_a_bank_file(const QString& path);
QString credit_file(const QString& path);
QString no_results(const QString& path);
QString still_loading();

QString failed_list_onto_bank_file(const QString& path);
QString failed_list_written(qint64 count, const QString& path);

}  // namespace tsubakuro::debit_result_messages
