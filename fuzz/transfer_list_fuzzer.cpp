// Reads any bytes as a bank file to list, as the converter's --print-list and
// the result viewer's list buttons do: a file is refused or read whole, every
// line it counts reads again, and the totals are what its lines add up to.
#include "core/zengin/transfer_list.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tsubakuro::fuzz::enter_scratch_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString name = QStringLiteral("FURIKOMI.DAT");
  tsubakuro::fuzz::write_whole_file(name, data, size);
  tsubakuro::TransferListOptions options;
  options.converted_on = QDate(2026, 12, 7);
  auto opened = tsubakuro::TransferList::open(name, options);
  if (!opened) {
    require(!opened.message().isEmpty(), "a refusal says why");
    return 0;
  }
  tsubakuro::TransferList& list = **opened;
  require(!list.title().isEmpty(), "a listed file has a kind with a title");
  require(list.unreadable_amounts() <= list.line_count(), "unreadable amounts are lines");
  qint64 amounts = 0;
  qint64 unreadable = 0;
  for (qint64 number = 1; number <= list.line_count(); ++number) {
    const auto line = list.line(number);
    require(line.ok(), "every counted line reads again");
    require(line->number == number, "lines are numbered in file order");
    if (line->amount)
      amounts += *line->amount;
    else
      ++unreadable;
    require(line->result_code.isNull() != list.carries_results(),
            "result codes are read exactly when the file carries them");
  }
  require(!list.line(list.line_count() + 1).ok(), "no line past the last");
  require(amounts == list.amount_total(), "the total is the lines' sum");
  require(unreadable == list.unreadable_amounts(), "unreadable amounts are counted once");
  if (list.carries_results()) {
    qint64 counted = 0;
    for (const tsubakuro::ResultTotal& total : list.result_totals()) counted += total.count;
    require(counted == list.line_count(), "every line has one result");
  }
  if (list.totals_agree())
    require(list.trailer_count() == list.line_count() && unreadable == 0,
            "agreeing totals are the trailer's");
  return 0;
}
