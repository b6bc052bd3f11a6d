#include "core/workbook/member_reader.h"

#include "core/workbook/read_context.h"
#include "core/workbook/workbook_messages.h"

namespace tsubakuro {

MemberReader::MemberReader(const ZipArchive& archive, const QString& name)
    : device_(archive, name), name_(name) {
  if (device_.isOpen()) xml_.setDevice(&device_);
}

Result<void> MemberReader::opened() const {
  if (!device_.isOpen()) return refusal(missing_member_reason(name_));
  return {};
}

Result<void> MemberReader::check() const {
  if (xml_.hasError() || device_.failed()) return refusal(broken_member_reason(name_));
  return {};
}

ScannedMember::ScannedMember(const ZipArchive& zip, const QString& name)
    : name_(name),
      file_(zip_fopen(zip.handle(), name.toUtf8().constData(), 0)),
      xml_([this](char* into, qint64 size) {
        return static_cast<qint64>(zip_fread(file_.get(), into, static_cast<zip_uint64_t>(size)));
      }) {}

Result<void> ScannedMember::opened() const {
  if (!file_) return refusal(missing_member_reason(name_));
  return {};
}

Failure ScannedMember::broken() const {
  return refusal_ ? *refusal_ : refusal(broken_member_reason(name_));
}

void ScannedMember::refuse(Failure refusal) {
  if (!refusal_) refusal_ = std::move(refusal);
}

Result<void> ScannedMember::read_text(std::string& text) {
  for (;;) {
    switch (next()) {
      case XmlScanner::Token::Characters:
        text.append(xml_.text());
        break;
      case XmlScanner::Token::EndElement:
        return {};
      default:
        return broken();
    }
  }
}

Result<void> ScannedMember::skip() {
  for (int depth = 1; depth > 0;) {
    switch (next()) {
      case XmlScanner::Token::StartElement:
        ++depth;
        break;
      case XmlScanner::Token::EndElement:
        --depth;
        break;
      case XmlScanner::Token::Characters:
        break;
      default:
        return broken();
    }
  }
  return {};
}

}  // namespace tsubakuro
