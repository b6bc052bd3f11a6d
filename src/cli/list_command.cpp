#include "cli/list_command.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>

#include "cli/console.h"
#include "core/zengin/transfer_list_printer.h"

namespace tsubakuro::cli {

namespace {

QString with_separators(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

QString figure(const std::optional<qint64>& value, const QString& unit) {
  return value ? with_separators(*value) + unit : QStringLiteral("（数字ではありません）");
}

}  // namespace

ExitStatus write_list_pdf(const QString& bank_file, const QString& pdf,
                          const TransferListOptions& options) {
  Result<std::unique_ptr<TransferList>> list = TransferList::open(bank_file, options);
  if (!list) {
    print_error(QStringLiteral("一覧表: ") + list.message());
    return kNotConverted;
  }
  const Result<int> pages = write_transfer_list_pdf(**list, pdf, QDateTime::currentDateTime());
  if (!pages) {
    print_error(QStringLiteral("一覧表: ") + pages.message());
    return kNotConverted;
  }
  const TransferList& written = **list;
  print_out(QStringLiteral("%1: %2（%3ページ）").arg(written.title(), pdf).arg(*pages));
  print_out(QStringLiteral("一覧表の合計件数: %1件").arg(with_separators(written.line_count())));
  print_out(QStringLiteral("一覧表の合計金額: %1円").arg(with_separators(written.amount_total())));
  if (written.totals_agree()) return kConverted;
  print_error(
      QStringLiteral("一覧表: 合計件数・合計金額がトレーラレコード（%1・%2）と一致しません。")
          .arg(figure(written.trailer_count(), QStringLiteral("件")),
               figure(written.trailer_amount(), QStringLiteral("円"))));
  return kConvertedWithErrors;
}

ExitStatus run_print_list(const PrintListRequest& request, const QString& directory) {
  if (!directory.isEmpty() && !QDir::setCurrent(directory)) {
    print_error(QStringLiteral("フォルダ %1 に移動できません。").arg(directory));
    return kNotConverted;
  }
  return write_list_pdf(request.bank_file, request.pdf);
}

}  // namespace tsubakuro::cli
