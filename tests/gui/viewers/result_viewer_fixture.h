#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "gui/shell/app_state.h"

class QTableView;

namespace tsubakuro::testing {

// Zengin records written byte by byte, as a bank file holds them, so that the
// viewer's tests do not lean on the record builders they are meant to check.
QByteArray zengin_field(const QString& text, int width);  // CP932, space-filled
QByteArray credit_header_record();
QByteArray credit_data_record(int serial);
QByteArray trailer_record(int count, qint64 total, bool debit_zeros = false);
QByteArray end_record();
// One physical record of L bytes: the record padded with spaces, or cut to
// L - 2 bytes and ended by CR LF.
QByteArray physical_record(const QByteArray& record, int length, bool crlf = false);
// Header, `data_count` data records, trailer and end, at length L.
QByteArray credit_bank_file(int data_count, int length = 120, bool crlf = false);

// An application state with company 東京 set, its output file "zengin.dat", the
// built-in field names, record length 120, and the company file saved.
void set_up_company(AppState& app, TransferKind kind = TransferKind::Credit);

// Answers the program's modal message dialogs while it lives, noting each one as
// "title/message".
class NoticeCatcher {
 public:
  NoticeCatcher();
  const QStringList& notices() const { return notices_; }

 private:
  QTimer timer_;
  QStringList notices_;
};

// Runs the event loop as the program does (QTest::qWait sleeps between rounds,
// which would slow a batch-by-batch load down to one batch a round) until
// `done` holds or `timeout_ms` have passed; returns `done()`.
bool run_events_until(const std::function<bool()>& done, int timeout_ms);

// What the user sees in a grid, with row 0 the headings and column 0 the fixed
// column: the corner's text at (0, 0).
QString grid_cell(const QTableView* grid, int row, int column);
// The rows of the grid, the heading row included.
int grid_rows(const QTableView* grid);
int grid_columns(const QTableView* grid);

}  // namespace tsubakuro::testing
