#include "core/zengin/record_layout.h"

#include <algorithm>
#include <array>

namespace tsubakuro {
namespace {

using enum Padding;

constexpr std::array kHeaderCredit = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},       FieldLayout{u"種別コード", 2, 'N', SpaceLeft},
    FieldLayout{u"コード区分", 1, 'N', SpaceLeft},   FieldLayout{u"会社コード", 10, 'N', SpaceLeft},
    FieldLayout{u"会社名", 40, 'C', SpaceLeft},      FieldLayout{u"振込指定日", 4, 'N', Fixed},
    FieldLayout{u"取引銀行番号", 4, 'N', ZeroRight}, FieldLayout{u"取引銀行名", 15, 'C', SpaceLeft},
    FieldLayout{u"取引支店番号", 3, 'N', ZeroRight}, FieldLayout{u"取引支店名", 15, 'C', SpaceLeft},
    FieldLayout{u"預金種目", 1, 'N', SpaceLeft},     FieldLayout{u"口座番号", 7, 'N', ZeroRight},
    FieldLayout{u"未使用", 17, 'C', SpaceLeft},
};

constexpr std::array kHeaderDebit = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},       FieldLayout{u"種別コード", 2, 'N', SpaceLeft},
    FieldLayout{u"コード区分", 1, 'N', SpaceLeft},   FieldLayout{u"会社コード", 10, 'N', SpaceLeft},
    FieldLayout{u"会社名", 40, 'C', SpaceLeft},      FieldLayout{u"振替指定日", 4, 'N', Fixed},
    FieldLayout{u"取引銀行番号", 4, 'N', ZeroRight}, FieldLayout{u"取引銀行名", 15, 'C', SpaceLeft},
    FieldLayout{u"取引支店番号", 3, 'N', ZeroRight}, FieldLayout{u"取引支店名", 15, 'C', SpaceLeft},
    FieldLayout{u"預金種目", 1, 'N', SpaceLeft},     FieldLayout{u"口座番号", 7, 'N', ZeroRight},
    FieldLayout{u"未使用", 17, 'C', SpaceLeft},
};

constexpr std::array kDataCredit = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},
    FieldLayout{u"振込銀行番号", 4, 'N', ZeroRight},
    FieldLayout{u"振込銀行名", 15, 'C', SpaceLeft},
    FieldLayout{u"振込支店番号", 3, 'N', ZeroRight},
    FieldLayout{u"振込支店名", 15, 'C', SpaceLeft},
    FieldLayout{u"手形交換所番号", 4, 'N', SpaceLeft},
    FieldLayout{u"預金種目", 1, 'N', SpaceLeft},
    FieldLayout{u"口座番号", 7, 'N', ZeroRight},
    FieldLayout{u"預金者名", 30, 'C', SpaceLeft},
    FieldLayout{u"振込金額", 10, 'N', ZeroRight},
    FieldLayout{u"新規コード", 1, 'N', SpaceLeft},
    FieldLayout{u"振込取引先番号", 10, 'N', ZeroRight},
    FieldLayout{u"その他分類", 10, 'N', ZeroRight},
    FieldLayout{u"振込指定区分", 1, 'C', SpaceLeft},
    FieldLayout{u"未使用", 8, 'C', SpaceLeft},
};

constexpr std::array kDataDebit = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},
    FieldLayout{u"引落銀行番号", 4, 'N', ZeroRight},
    FieldLayout{u"引落銀行名", 15, 'C', SpaceLeft},
    FieldLayout{u"引落支店番号", 3, 'N', ZeroRight},
    FieldLayout{u"引落支店名", 15, 'C', SpaceLeft},
    FieldLayout{u"手形交換所番号", 4, 'N', SpaceLeft},
    FieldLayout{u"預金種目", 1, 'N', SpaceLeft},
    FieldLayout{u"口座番号", 7, 'N', ZeroRight},
    FieldLayout{u"預金者名", 30, 'C', SpaceLeft},
    FieldLayout{u"引落金額", 10, 'N', ZeroRight},
    FieldLayout{u"新規コード", 1, 'N', SpaceLeft},
    FieldLayout{u"引落取引先番号", 10, 'N', ZeroRight},
    FieldLayout{u"その他分類", 10, 'N', ZeroRight},
    FieldLayout{u"振替結果コード", 1, 'N', SpaceLeft},
    FieldLayout{u"未使用", 8, 'C', SpaceLeft},
};

constexpr std::array kTrailerCredit = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},
    FieldLayout{u"合計件数", 6, 'N', ZeroRight},
    FieldLayout{u"合計金額", 12, 'N', ZeroRight},
    FieldLayout{u"未使用", 101, 'C', Fixed},
};

constexpr std::array kTrailerDebit = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},    FieldLayout{u"合計件数", 6, 'N', ZeroRight},
    FieldLayout{u"合計金額", 12, 'N', ZeroRight}, FieldLayout{u"振替返済済件数", 6, 'N', Fixed},
    FieldLayout{u"振替済金額", 12, 'N', Fixed},   FieldLayout{u"振替不能件数", 6, 'N', Fixed},
    FieldLayout{u"振替不能金額", 12, 'N', Fixed}, FieldLayout{u"未使用", 65, 'C', Fixed},
};

constexpr std::array kEnd = {
    FieldLayout{u"データ区分", 1, 'N', Fixed},
    FieldLayout{u"未使用", 119, 'C', Fixed},
};

template <std::size_t N>
constexpr bool spans_whole_record(const std::array<FieldLayout, N>& fields) {
  int total = 0;
  for (const FieldLayout& field : fields) total += field.width;
  return total == kLogicalRecordLength;
}

static_assert(spans_whole_record(kHeaderCredit) && spans_whole_record(kHeaderDebit));
static_assert(spans_whole_record(kDataCredit) && spans_whole_record(kDataDebit));
static_assert(spans_whole_record(kTrailerCredit) && spans_whole_record(kTrailerDebit));
static_assert(spans_whole_record(kEnd));

}  // namespace

QString transfer_kind_word(TransferKind kind) {
  return kind == TransferKind::Debit ? QStringLiteral("振替") : QStringLiteral("振込");
}

QString record_kind_word(RecordKind kind) {
  switch (kind) {
    case RecordKind::Header:
      return QStringLiteral("ヘッダ");
    case RecordKind::Data:
      return QStringLiteral("ボディ");
    case RecordKind::Trailer:
      return QStringLiteral("トレーラ");
    case RecordKind::End:
      break;
  }
  return QStringLiteral("エンド");
}

int check_part_number(RecordKind kind) { return static_cast<int>(kind) + 1; }

int data_kind_code(RecordKind kind) {
  switch (kind) {
    case RecordKind::Header:
      return 1;
    case RecordKind::Data:
      return 2;
    case RecordKind::Trailer:
      return 8;
    case RecordKind::End:
      return 9;
  }
  return 0;
}

std::span<const FieldLayout> record_layout(TransferKind transfer, RecordKind record) {
  const bool debit = transfer == TransferKind::Debit;
  switch (record) {
    case RecordKind::Header:
      return debit ? std::span<const FieldLayout>(kHeaderDebit) : kHeaderCredit;
    case RecordKind::Data:
      return debit ? std::span<const FieldLayout>(kDataDebit) : kDataCredit;
    case RecordKind::Trailer:
      return debit ? std::span<const FieldLayout>(kTrailerDebit) : kTrailerCredit;
    case RecordKind::End:
      return kEnd;
  }
  return {};
}

int field_start(TransferKind transfer, RecordKind record, int number) {
  int start = 1;
  const auto fields = record_layout(transfer, record);
  for (int i = 0; i < number - 1 && i < static_cast<int>(fields.size()); ++i)
    start += fields[i].width;
  return start;
}

int effective_record_length(int stored) {
  return std::ranges::find(kRecordLengths, stored) != kRecordLengths.end() ? stored
                                                                           : kLogicalRecordLength;
}

}  // namespace tsubakuro
