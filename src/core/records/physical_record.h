#pragma once

#include <QByteArray>

#include "core/settings/conversion_options.h"

namespace tsubakuro {

// One record as the file holds it: exactly L bytes. The logical record is
// followed by spaces and the first L bytes are taken; with crlf_each_record the
// first L - 2 and then CR LF, so at L = 120 the record loses its last two
// (always blank) characters.
QByteArray physical_record(const QByteArray& logical, const ConversionOptions& options);
// The same, appended to `out`.
void append_physical_record(QByteArrayView logical, const ConversionOptions& options,
                            QByteArray& out);

}  // namespace tsubakuro
