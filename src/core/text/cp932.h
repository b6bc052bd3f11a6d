#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tsubakuro {

// Shift-JIS as the payment lists, settings files and bank files hold it: Windows
// code page 932, where 0x5C is the backslash (not the yen sign) and 0xA1-0xDF are
// the half-width katakana that Zengin names are written in.

// Bytes that are not valid CP932 become U+FFFD; decoding never fails.
QString decode_cp932(QByteArrayView bytes);

// decode_cp932 into `out`, which has room for bytes.size() units; returns the
// units written.
qsizetype decode_cp932_into(QByteArrayView bytes, char16_t* out);

// decode_cp932(bytes).size(), without decoding.
qsizetype cp932_character_count(QByteArrayView bytes);

struct Cp932Encoding {
  QByteArray bytes;
  // False when some character has no CP932 form; each such character is written
  // as "?" so the caller can still see where it stood, and must report it.
  bool complete = true;
};

Cp932Encoding encode_cp932(QStringView text);

// 1 or 2 for a character CP932 holds, 0 for one it cannot.
int cp932_byte_count(QChar character);

// Writes one UTF-16 unit's CP932 bytes to out (room for two); returns their count,
// or 0 for a unit CP932 cannot hold (a surrogate among them).
int encode_cp932_unit(char16_t unit, char* out);

}  // namespace tsubakuro
