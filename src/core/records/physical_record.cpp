#include "core/records/physical_record.h"

namespace tsubakuro {

QByteArray physical_record(const QByteArray& logical, const ConversionOptions& options) {
  QByteArray physical;
  append_physical_record(logical, options, physical);
  return physical;
}

void append_physical_record(QByteArrayView logical, const ConversionOptions& options,
                            QByteArray& out) {
  const int length = options.physical_record_length();
  const bool crlf = options.crlf_each_record;
  const qsizetype body = crlf ? length - 2 : length;
  const qsizetype taken = std::min(body, logical.size());
  out.append(logical.first(taken));
  if (taken < body) out.append(body - taken, ' ');
  if (crlf) out.append("\r\n", 2);
}

}  // namespace tsubakuro
