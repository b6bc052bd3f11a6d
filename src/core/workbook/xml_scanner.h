#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tsubakuro {

// A streaming reader for the XML a worksheet's cells are written in, where
// QXmlStreamReader's cost per token is most of a large workbook's read time.
//
// It takes a narrower language than QXmlStreamReader and reads what it takes the
// same way: UTF-8 only, ASCII names, the predefined entities and character
// references, CDATA sections, comments and processing instructions. Anything else
// (a document type declaration, another encoding, an undeclared prefix, a name
// outside ASCII) or anything that is not well-formed makes it stop with Invalid;
// the caller then leaves the document to a reader that knows more. Names are read
// without their prefix, as QXmlStreamReader::name() gives them; no other use is
// made of namespaces.
//
// The bytes come in chunks from a source, so a tag, an entity or a UTF-8 sequence
// may be split anywhere; only a single tag or text run must fit in memory, and one
// larger than kMaxTokenBytes is refused.
class XmlScanner {
 public:
  // Copies up to `size` bytes into `into`: the count, 0 at the end, or negative
  // when the source cannot be read.
  using Source = std::function<qint64(char* into, qint64 size)>;

  enum class Token { StartElement, EndElement, Characters, EndDocument, Invalid };

  static constexpr qsizetype kDefaultChunkSize = 256 * 1024;
  static constexpr qsizetype kMaxTokenBytes = 16 * 1024 * 1024;

  explicit XmlScanner(Source source, qsizetype chunk_size = kDefaultChunkSize);
  ~XmlScanner();
  XmlScanner(const XmlScanner&) = delete;
  XmlScanner& operator=(const XmlScanner&) = delete;

  // The next token. A self-closing element gives StartElement and then EndElement.
  // Text and CDATA inside the root element come as Characters, which may be split
  // into several tokens. After Invalid or EndDocument, every call gives the same.
  Token next();

  // Of a StartElement or EndElement; valid until the next call.
  std::string_view name() const { return name_.substr(local_at_); }
  std::string_view qualified_name() const { return name_; }

  // Of a StartElement: attributes by qualified name, values with entities resolved
  // and white space normalized; valid until the next call.
  std::optional<std::string_view> attribute(std::string_view qualified_name) const;
  qsizetype attribute_count() const { return static_cast<qsizetype>(attributes_.size()); }
  std::pair<std::string_view, std::string_view> attribute_at(qsizetype index) const;

  // For a reader that tells elements and attributes apart by namespace, which
  // the scanner itself does not: the prefix bound to `uri` where the scanner is
  // ("" for the default namespace, which unprefixed attributes are not in), or
  // none. `ambiguous` when more than one prefix is bound to it, in which case a
  // prefix alone cannot tell. The answer holds until namespace_generation()
  // changes, which it does whenever a declaration comes into or out of scope.
  std::optional<std::string_view> prefix_of(std::string_view uri, bool& ambiguous) const;
  quint64 namespace_generation() const { return generation_; }

  // Of Characters: the text, entities resolved and line ends normalized.
  std::string_view text() const { return text_; }

  // After Invalid: what was wrong, in English, for a log or a test.
  const QString& error() const { return error_; }

 private:
  enum class Parse { Done, NeedMore, Failed };
  enum class Run { Text, CData, Comment, Instruction };
  struct Attribute {
    qsizetype name_at;
    qsizetype name_size;
    bool decoded;  // value in decoded_ rather than in the buffer
    qsizetype value_at;
    qsizetype value_size;
  };

  std::string_view attribute_name(const Attribute& attribute) const;
  Token fail(const char* reason);
  bool refill();
  bool ensure(qsizetype count);
  std::optional<Token> markup();
  Parse start_tag();
  Parse end_tag();
  void close_element();
  bool declare_namespaces();
  bool is_declared(std::string_view prefix) const;
  bool scan_run(Run kind);
  bool xml_declaration();

  Source source_;
  qsizetype chunk_size_;
  std::unique_ptr<char[]> buffer_;
  qsizetype capacity_ = 0;
  qsizetype pos_ = 0;
  qsizetype end_ = 0;
  bool source_ended_ = false;
  bool started_ = false;
  bool root_seen_ = false;
  bool pending_end_ = false;
  std::optional<Token> final_;  // EndDocument or Invalid, once reached

  std::string_view name_;
  qsizetype local_at_ = 0;
  std::vector<Attribute> attributes_;
  std::string decoded_;
  std::string text_;
  QString error_;

  // Open elements' qualified names, one after another, and where each starts.
  std::string open_names_;
  std::vector<qsizetype> open_starts_;
  // Namespaces declared by open elements, the default one with an empty prefix.
  struct Binding {
    std::string prefix;
    std::string uri;
    qsizetype depth;  // of the element that declared it
  };
  std::vector<Binding> bindings_;
  quint64 generation_ = 0;
  // Prefixes lately found declared, while the declarations stay as they are.
  mutable std::array<std::string, 4> declared_;
  mutable quint64 declared_generation_ = 0;
  mutable std::size_t next_declared_ = 0;
};

}  // namespace tsubakuro
