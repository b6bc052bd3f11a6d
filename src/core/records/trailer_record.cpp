#include "core/records/trailer_record.h"

#include <array>

#include "core/records/plan_walk.h"
#include "core/zengin/record_plan.h"

namespace tsubakuro {

BuiltRecord build_trailer_record(qint64 row_count, qint64 amount_total, TransferKind transfer,
                                 const ConversionOptions& options, const FieldChecker& checker) {
  RecordAssembler record(transfer, RecordKind::Trailer, checker);
  struct Total {
    qint64 value;
    qint64 most;
  };
  std::array<Total, 2> totals{};
  totals[kTrailerCount] = {row_count, kMaxTrailerCount};
  totals[kTrailerAmount] = {amount_total, kMaxTrailerAmount};

  for (const PlannedField& planned : trailer_plan(transfer)) {
    switch (planned.put) {
      case FieldPut::Fixed:
        record.put_checked(fixed_text(planned.texts.front()));
        break;
      case FieldPut::Total: {
        // A negative total keeps its minus sign inside the field.
        const Total& total = totals[planned.column];
        record.put_checked(record.fitted(QString::number(total.value)));
        if (total.value < 0 || total.value > total.most) record.fail(planned.field);
        break;
      }
      case FieldPut::BankFills:
        // Zeros when the option asks for them; otherwise left blank for the bank.
        record.put(QString(record.width(planned.field), options.debit_trailer_zero ? u'0' : u' '));
        break;
      case FieldPut::Text:
        record.put(u"");
        break;
      case FieldPut::Checked:
      case FieldPut::Digits:
      case FieldPut::Amount:
      case FieldPut::BankCode:
      case FieldPut::BankName:
      case FieldPut::Name:
      case FieldPut::Code:
      case FieldPut::Customer:
      case FieldPut::CodeClass:
      case FieldPut::TransferDate:
        break;  // not a trailer's
    }
  }
  return record.finish();
}

QByteArray build_end_record() {
  QByteArray record(kLogicalRecordLength, ' ');
  record[0] = '9';
  return record;
}

}  // namespace tsubakuro
