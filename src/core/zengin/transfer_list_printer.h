#pragma once

#include <QDateTime>
#include <QPageLayout>
#include <QString>

#include "core/text/result.h"
#include "core/zengin/transfer_list.h"

class QPagedPaintDevice;

namespace tsubakuro {

// 振込・振替一覧表 drawn on A4 portrait pages, for a PDF or a printer. It needs
// fonts and a paint device but no window, so the converter prints it too.

// Data records on one page: with the header block, the column headings, the
// page's subtotal and the last page's totals, this keeps the rows at the size
// of a printed form's.
constexpr int kTransferListRowsPerPage = 40;

int transfer_list_page_count(qint64 line_count);

// The page the list is drawn for: A4 portrait with margins of 12 mm.
QPageLayout transfer_list_page_layout();

// Draws the list on `device`, which must have no painter yet, on the page it is
// set to (a printer the user set up otherwise keeps its own). `made` is printed
// on every page. Gives the number of pages drawn.
Result<int> paint_transfer_list(TransferList& list, QPagedPaintDevice& device,
                                const QDateTime& made);

// The list as a PDF at `pdf_path` with its font embedded, written whole or not
// at all. Gives the number of pages.
Result<int> write_transfer_list_pdf(TransferList& list, const QString& pdf_path,
                                    const QDateTime& made);

}  // namespace tsubakuro
