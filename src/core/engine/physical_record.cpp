#include "core/engine/physical_record.h"

namespace tsubakuro {

QByteArray physical_record(const QByteArray& logical, const ConversionOptions& options) {
  const int length = options.physical_record_length();
  const bool crlf = options.crlf_each_record;
  const qsizetype body = crlf ? length - 2 : length;
  QByteArray physical = logical.left(body);
  if (physical.size() < body) physical.append(body - physical.size(), ' ');
  if (crlf) physical.append("\r\n", 2);
  return physical;
}

}  // namespace tsubakuro
