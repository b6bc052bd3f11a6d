#include "result_viewer_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "core/settings/company_settings.h"
#include "core/text/cp932.h"
#include "core/zengin/field_dictionary.h"
#include "gui/viewers/result_grid_view.h"

namespace tsubakuro::testing {

QByteArray zengin_field(const QString& text, int width) {
  QByteArray bytes = encode_cp932(text).bytes;
  bytes.resize(width, ' ');
  return bytes;
}

QByteArray credit_header_record() {
  return "1" + zengin_field(QStringLiteral("21"), 2) + "0" +
         zengin_field(QStringLiteral("1234567890"), 10) +
         zengin_field(QStringLiteral("ｶ)ﾂﾊﾞｸﾛｼｮｳｼﾞ"), 40) + "1225" + "0005" +
         zengin_field(QStringLiteral("ﾐﾂﾋﾞｼﾕｰｴﾌｼﾞｪｲ"), 15) + "001" +
         zengin_field(QStringLiteral("ﾄｳｷﾖｳｴｲｷﾞﾖｳﾌﾞ"), 15) + "1" + "7654321" + QByteArray(17, ' ');
}

QByteArray credit_data_record(int serial) {
  static const char* const kNames[] = {"ﾔﾏﾀﾞ ﾀﾛｳ", "ｽｽﾞｷ ﾊﾅｺ", "ﾀﾅｶ ｲﾁﾛｳ", "ｻﾄｳ ｹﾝｼﾞ"};
  const QString name = QString::fromUtf8(kNames[serial % 4]);
  return "2" + QByteArray("0009") + zengin_field(QStringLiteral("ﾐﾂｲｽﾐﾄﾓ"), 15) + "123" +
         zengin_field(QStringLiteral("ｼﾝｼﾞﾕｸ"), 15) + "    " + "1" +
         QByteArray::number(1000000 + serial).right(7) + zengin_field(name, 30) +
         QByteArray::number(2500000000LL + serial).right(10) + "0" +
         QByteArray::number(9000000000LL + serial).right(10) +
         QByteArray::number(1100000000LL + serial).right(10) + "7" + QByteArray(8, ' ');
}

QByteArray trailer_record(int count, qint64 total, bool debit_zeros) {
  const QByteArray rest =
      debit_zeros ? QByteArray(36, '0') + QByteArray(65, ' ') : QByteArray(101, ' ');
  return "8" + QByteArray::number(count).rightJustified(6, '0') +
         QByteArray::number(total).rightJustified(12, '0') + rest;
}

QByteArray end_record() { return "9" + QByteArray(119, ' '); }

QByteArray physical_record(const QByteArray& record, int length, bool crlf) {
  const QByteArray padded = record + QByteArray(256, ' ');
  return crlf ? padded.left(length - 2) + "\r\n" : padded.left(length);
}

QByteArray credit_bank_file(int data_count, int length, bool crlf) {
  QByteArray file = physical_record(credit_header_record(), length, crlf);
  for (int i = 1; i <= data_count; ++i)
    file += physical_record(credit_data_record(i), length, crlf);
  file += physical_record(trailer_record(data_count, 0), length, crlf);
  file += physical_record(end_record(), length, crlf);
  return file;
}

void set_up_company(AppState& app, TransferKind kind) {
  app.system.current_company = QStringLiteral("東京");
  app.system.transfer_kind = kind;
  app.system.options.record_length = 120;
  app.system.field_names = builtin_field_names();
  app.system.field_kinds = builtin_field_kinds();
  app.company.credit.output_file = QStringLiteral("zengin.dat");
  app.company.debit.output_file = QStringLiteral("zengin.dat");
  app.company.credit.enabled = true;
  app.company.debit.enabled = true;
  ASSERT_TRUE(save_company_settings(app.system.current_company, app.company).ok());
}

NoticeCatcher::NoticeCatcher() {
  timer_.setInterval(20);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    const auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
    notices_.append(dialog->windowTitle() + u'/' + (label ? label->text() : QString()));
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("OK")) {
        button->click();
        return;
      }
    }
    dialog->done(0);
  });
  timer_.start();
}

bool run_events_until(const std::function<bool()>& done, int timeout_ms) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  poll.start(5);
  QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
  return done();
}

QString grid_cell(const QTableView* grid, int row, int column) {
  const QAbstractItemModel* model = grid->model();
  if (row == 0 && column == 0) return static_cast<const ResultGridView*>(grid)->corner_text();
  if (row == 0) return model->headerData(column - 1, Qt::Horizontal).toString();
  if (column == 0) return model->headerData(row - 1, Qt::Vertical).toString();
  return model->index(row - 1, column - 1).data().toString();
}

int grid_rows(const QTableView* grid) { return grid->model()->rowCount() + 1; }
int grid_columns(const QTableView* grid) { return grid->model()->columnCount() + 1; }

}  // namespace tsubakuro::testing
