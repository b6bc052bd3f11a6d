#pragma once

#include <QString>
#include <QXmlStreamReader>
#include <memory>
#include <optional>
#include <string>

#include "core/text/result.h"
#include "core/workbook/xml_scanner.h"
#include "core/workbook/zip_archive.h"

namespace tsubakuro {

// A member of the archive the reader cannot parse is damage to the reader, named
// by the member: a refusal, since the office suite may read it still.

// A small member (relationships, the workbook, its styles) parsed by QXmlStreamReader.
class MemberReader {
 public:
  MemberReader(const ZipArchive& archive, const QString& name);
  // Refused when the archive has no such member.
  Result<void> opened() const;
  QXmlStreamReader& xml() { return xml_; }
  // After the last token: a parse error is damage.
  Result<void> check() const;

 private:
  ZipEntryDevice device_;
  QXmlStreamReader xml_;
  QString name_;
};

// A member read by the scanner: the sheet and the shared strings, nearly all of a
// workbook's bytes.
class ScannedMember {
 public:
  ScannedMember(const ZipArchive& zip, const QString& name);
  // Refused when the archive has no such member.
  Result<void> opened() const;

  XmlScanner& xml() { return xml_; }

  // The next token; Invalid when the member is damaged or the read was refused,
  // after which broken() says why.
  XmlScanner::Token next() { return refusal_ ? XmlScanner::Token::Invalid : xml_.next(); }
  Failure broken() const;
  // Ends the read at the next token, with `refusal` as the reason unless one was
  // given before: what the reader learns while looking at a token (a namespace it
  // cannot tell apart) stops it as a damaged member would.
  void refuse(Failure refusal);

  // Appends the text of the element just begun, which may hold no elements, and
  // ends after it.
  Result<void> read_text(std::string& text);
  // Ends after the element just begun.
  Result<void> skip();

 private:
  struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
  };

  QString name_;
  std::unique_ptr<zip_file_t, ZipFileClose> file_;
  XmlScanner xml_;
  std::optional<Failure> refusal_;
};

}  // namespace tsubakuro
