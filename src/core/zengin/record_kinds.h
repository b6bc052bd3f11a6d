#pragma once

#include <QString>
#include <array>

namespace tsubakuro {

// What names a record and what length it is given, apart from the field tables
// (record_layout.h): settings, windows and the converter name kinds without
// depending on every field's width.

enum class TransferKind { Credit = 0, Debit = 1 };  // 振込, 振替

enum class RecordKind { Header = 0, Data = 1, Trailer = 2, End = 3 };

constexpr int kTransferKindCount = 2;
constexpr int kRecordKindCount = 4;
constexpr int kLogicalRecordLength = 120;

// The word the program shows for a transfer kind: "振込" or "振替".
QString transfer_kind_word(TransferKind kind);

// The word the program shows for a record kind: "ヘッダ", "ボディ", "トレーラ", "エンド".
QString record_kind_word(RecordKind kind);

// The record lengths (変換後桁数) a bank file may have: the 120 characters of a
// record, padded for some banks, and two more for a line break where one is wanted.
inline constexpr std::array kRecordLengths{120, 122, 128, 130, 256, 258};

// A stored record length the program honours; anything else counts as 120.
int effective_record_length(int stored);

}  // namespace tsubakuro
