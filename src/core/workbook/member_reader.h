#pragma once

#include <expat.h>

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/result.h"

namespace tsubakuro {

class ReadContext;
class ZipArchive;

// A name as the parser gives it once namespaces are resolved: elements and
// attributes are told apart by their namespace, never by the prefix a file chose.
struct XmlName {
  std::string_view ns;  // empty for none
  std::string_view local;

  bool is(std::string_view in_ns, std::string_view name) const {
    return local == name && ns == in_ns;
  }
};

// An element's attributes, as the parser hands them over.
class XmlAttributes {
 public:
  explicit XmlAttributes(const XML_Char** pairs) : pairs_(pairs) {}
  // The value of the attribute `local` in `ns` (empty for an unprefixed one).
  std::optional<std::string_view> value(std::string_view ns, std::string_view local) const;

  template <typename F>
  void for_each(F&& f) const {
    for (const XML_Char** a = pairs_; *a; a += 2) f(split_name(a[0]), std::string_view(a[1]));
  }

  static XmlName split_name(const XML_Char* name);

 private:
  const XML_Char** pairs_;
};

// What a part's reader does with the elements the parser reports. A handler stops
// the parse with stop(); text is gathered only while collect() points somewhere,
// and never beyond what a cell can hold.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void start(XmlName name, const XmlAttributes& attributes) = 0;
  virtual void end(XmlName name) = 0;

  // Ends the parse; the first reason given is the one reported.
  void stop(Failure reason);
  bool stopped() const { return stopped_.has_value(); }
  void collect(std::string* into) { text_ = into; }

 private:
  friend class XmlMemberParse;
  friend Result<void> read_xml_member(const ZipArchive&, const QString&, XmlHandler&,
                                      const ReadContext&);
  XML_Parser parser_ = nullptr;
  std::string* text_ = nullptr;
  std::optional<Failure> stopped_;
  std::optional<Failure> text_too_long_;
  std::optional<Failure> doctype_;
};

// Parses the archive's member `name` as it is inflated, in chunks, so memory stays
// flat whatever the member's size. A member that does not inflate, a document
// that is not well-formed or declares a document type are damage: an Error, final.
// A missing member is Unsupported.
Result<void> read_xml_member(const ZipArchive& zip, const QString& name, XmlHandler& handler,
                             const ReadContext& context);

// The longest text the reader takes from one cell, shared string or attribute, in
// UTF-8 bytes: far more than any field of a bank file, far less than memory.
inline constexpr std::size_t kCellTextLimit = 1 << 20;

}  // namespace tsubakuro
