#include "core/workbook/xml_scanner.h"

#include <algorithm>
#include <cstring>

namespace tsubakuro {
namespace {

bool is_space(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// ASCII names only: any other name is one QXmlStreamReader may read differently.
bool is_name_start(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool is_name_char(unsigned char c) {
  return is_name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}

// A byte that needs no second look in text: printable ASCII but the markup
// characters and those that end a comment, a section or an instruction.
bool is_plain(unsigned char c) {
  return c >= 0x20 && c < 0x80 && c != '<' && c != '&' && c != ']' && c != '>' && c != '-' &&
         c != '?';
}

bool is_xml_char(char32_t code) {
  return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// The length of the UTF-8 sequence of a character XML allows starting at `p`
// (a byte from 0x80 up), 0 when it is none, -1 when the sequence runs past `end`.
int utf8_sequence(const unsigned char* p, const unsigned char* end) {
  const unsigned char lead = *p;
  int size = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (end - p < size) return -1;
  if (p[1] < low || p[1] > high) return 0;
  for (int i = 2; i < size; ++i) {
    if (p[i] < 0x80 || p[i] > 0xBF) return 0;
  }
  // U+FFFE and U+FFFF are no characters.
  if (lead == 0xEF && p[1] == 0xBF && p[2] >= 0xBE) return 0;
  return size;
}

// Resolves the reference starting at `p` (an '&') onto `out`: the bytes it took,
// 0 when it runs past `end`, -1 when it is not one XML defines without a DTD.
int resolve_reference(const unsigned char* p, const unsigned char* end, std::string& out) {
  constexpr int kLongest = 16;  // "&#x" and leading zeros and digits: longer ones are refused
  const unsigned char* stop = std::min(end, p + kLongest);
  const auto* semicolon = static_cast<const unsigned char*>(std::memchr(p, ';', stop - p));
  if (!semicolon) return end - p < kLongest ? 0 : -1;
  const std::string_view name(reinterpret_cast<const char*>(p + 1), semicolon - p - 1);
  const int taken = static_cast<int>(semicolon - p + 1);
  if (name == "lt") return out.push_back('<'), taken;
  if (name == "gt") return out.push_back('>'), taken;
  if (name == "amp") return out.push_back('&'), taken;
  if (name == "quot") return out.push_back('"'), taken;
  if (name == "apos") return out.push_back('\''), taken;
  if (name.size() < 2 || name[0] != '#') return -1;
  const bool hex = name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return -1;
  char32_t code = 0;
  for (const char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return -1;
    code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    if (code > 0x10FFFF) return -1;
  }
  if (!is_xml_char(code)) return -1;
  append_utf8(out, code);
  return taken;
}

bool whitespace_only(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return is_space(static_cast<unsigned char>(c)); });
}

}  // namespace

XmlScanner::XmlScanner(Source source, qsizetype chunk_size)
    : source_(std::move(source)),
      chunk_size_(std::clamp<qsizetype>(chunk_size, 1, kMaxTokenBytes)),
      buffer_(new char[static_cast<std::size_t>(chunk_size_)]),
      capacity_(chunk_size_) {}

XmlScanner::~XmlScanner() = default;

std::optional<std::string_view> XmlScanner::attribute(std::string_view qualified_name) const {
  for (qsizetype i = 0; i < attribute_count(); ++i) {
    const auto [name, value] = attribute_at(i);
    if (name == qualified_name) return value;
  }
  return std::nullopt;
}

std::pair<std::string_view, std::string_view> XmlScanner::attribute_at(qsizetype index) const {
  const Attribute& a = attributes_[static_cast<std::size_t>(index)];
  const char* value = a.decoded ? decoded_.data() + a.value_at : buffer_.get() + a.value_at;
  return {attribute_name(a), std::string_view(value, static_cast<std::size_t>(a.value_size))};
}

std::string_view XmlScanner::attribute_name(const Attribute& attribute) const {
  return std::string_view(buffer_.get() + attribute.name_at,
                          static_cast<std::size_t>(attribute.name_size));
}

XmlScanner::Token XmlScanner::fail(const char* reason) {
  if (error_.isEmpty()) error_ = QString::fromLatin1(reason);
  final_ = Token::Invalid;
  return Token::Invalid;
}

bool XmlScanner::refill() {
  if (source_ended_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, static_cast<std::size_t>(end_ - pos_));
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == capacity_) {
    if (capacity_ >= kMaxTokenBytes) {
      source_ended_ = true;
      fail("a tag or text too long");
      return false;
    }
    const qsizetype grown = std::min(capacity_ * 2, kMaxTokenBytes);
    std::unique_ptr<char[]> larger(new char[static_cast<std::size_t>(grown)]);
    std::memcpy(larger.get(), buffer_.get(), static_cast<std::size_t>(end_));
    buffer_ = std::move(larger);
    capacity_ = grown;
  }
  const qint64 got = source_(buffer_.get() + end_, std::min(chunk_size_, capacity_ - end_));
  if (got <= 0) {
    source_ended_ = true;
    if (got < 0) fail("the source cannot be read");
    return false;
  }
  end_ += static_cast<qsizetype>(got);
  return true;
}

bool XmlScanner::ensure(qsizetype count) {
  while (end_ - pos_ < count) {
    if (!refill()) return false;
  }
  return true;
}

XmlScanner::Token XmlScanner::next() {
  if (final_) return *final_;
  if (pending_end_) {
    pending_end_ = false;
    close_element();
    return Token::EndElement;
  }
  if (!started_) {
    started_ = true;
    if (!xml_declaration()) return fail(error_.isEmpty() ? "bad XML declaration" : "");
  }
  for (;;) {
    if (pos_ >= end_ && !refill()) {
      if (final_) return *final_;
      if (!open_starts_.empty() || !root_seen_) return fail("premature end of document");
      final_ = Token::EndDocument;
      return Token::EndDocument;
    }
    if (buffer_[pos_] == '<') {
      const std::optional<Token> token = markup();
      if (token) return *token;
      if (final_) return *final_;
      continue;
    }
    text_.clear();
    if (!scan_run(Run::Text)) return fail("bad text");
    if (open_starts_.empty()) {
      if (!whitespace_only(text_)) return fail("content outside the root element");
      continue;
    }
    return Token::Characters;
  }
}

std::optional<XmlScanner::Token> XmlScanner::markup() {
  if (!ensure(2)) return fail("premature end of document");
  const char second = buffer_[pos_ + 1];
  if (second == '/' || is_name_start(static_cast<unsigned char>(second))) {
    for (;;) {
      const Parse parsed = second == '/' ? end_tag() : start_tag();
      if (parsed == Parse::Done) return second == '/' ? Token::EndElement : Token::StartElement;
      if (parsed == Parse::Failed) return fail("bad tag");
      if (!refill()) return fail("premature end of document");
    }
  }
  if (second == '?') {
    // A target without a colon, then white space or the end.
    qsizetype size = 0;
    for (;; ++size) {
      if (size > 1000 || !ensure(2 + size + 1)) return fail("bad processing instruction");
      const auto c = static_cast<unsigned char>(buffer_[pos_ + 2 + size]);
      if (size == 0 ? !is_name_start(c) : !is_name_char(c) || c == ':') break;
    }
    const auto after = static_cast<unsigned char>(buffer_[pos_ + 2 + size]);
    const bool ends = after == '?' && ensure(2 + size + 2) && buffer_[pos_ + 2 + size + 1] == '>';
    if (size == 0 || (!is_space(after) && !ends)) return fail("bad processing instruction");
    // Only the document's first bytes may be its declaration.
    if (size == 3 && QByteArray(buffer_.get() + pos_ + 2, 3).toLower() == "xml")
      return fail("XML declaration not at the start");
    pos_ += 2 + size;
    text_.clear();
    if (!scan_run(Run::Instruction)) return fail("bad processing instruction");
    return std::nullopt;
  }
  if (second == '!') {
    ensure(9);
    const std::string_view opening(buffer_.get() + pos_,
                                   static_cast<std::size_t>(std::min<qsizetype>(end_ - pos_, 9)));
    if (opening.starts_with("<!--")) {
      pos_ += 4;
      if (!scan_run(Run::Comment)) return fail("bad comment");
      return std::nullopt;
    }
    if (opening == "<![CDATA[" && !open_starts_.empty()) {
      pos_ += 9;
      text_.clear();
      if (!scan_run(Run::CData)) return fail("bad CDATA section");
      return Token::Characters;
    }
  }
  // A document type declaration among them: entities it declares are not read.
  return fail("markup not read");
}

XmlScanner::Parse XmlScanner::start_tag() {
  const auto* b = reinterpret_cast<const unsigned char*>(buffer_.get());
  qsizetype p = pos_ + 1;
  // A qualified name: at most one colon, not at either end.
  const auto read_name = [&](qsizetype& colon) -> Parse {
    colon = -1;
    if (p >= end_) return Parse::NeedMore;
    if (!is_name_start(b[p])) return Parse::Failed;
    const qsizetype from = p;
    while (p < end_ && is_name_char(b[p])) {
      if (b[p] == ':') {
        if (colon >= 0) return Parse::Failed;
        colon = p;
      }
      ++p;
    }
    if (p >= end_) return Parse::NeedMore;
    if (colon == p - 1 || colon == from) return Parse::Failed;
    return Parse::Done;
  };
  qsizetype colon = -1;
  if (const Parse parsed = read_name(colon); parsed != Parse::Done) return parsed;
  const qsizetype name_at = pos_ + 1;
  const qsizetype name_size = p - name_at;
  attributes_.clear();
  decoded_.clear();
  bool self_closing = false;
  // Whether a prefix or a declaration needs the namespace checks at all.
  bool prefixed = colon >= 0;
  for (;;) {
    bool spaced = false;
    while (p < end_ && is_space(b[p])) ++p, spaced = true;
    if (p >= end_) return Parse::NeedMore;
    if (b[p] == '>') {
      ++p;
      break;
    }
    if (b[p] == '/') {
      if (p + 1 >= end_) return Parse::NeedMore;
      if (b[p + 1] != '>') return Parse::Failed;
      p += 2;
      self_closing = true;
      break;
    }
    if (!spaced) return Parse::Failed;
    const qsizetype attribute_at = p;
    qsizetype attribute_colon = -1;
    if (const Parse parsed = read_name(attribute_colon); parsed != Parse::Done) return parsed;
    Attribute attribute{attribute_at, p - attribute_at, false, 0, 0};
    while (p < end_ && is_space(b[p])) ++p;
    if (p >= end_) return Parse::NeedMore;
    if (b[p] != '=') return Parse::Failed;
    ++p;
    while (p < end_ && is_space(b[p])) ++p;
    if (p >= end_) return Parse::NeedMore;
    const unsigned char quote = b[p];
    if (quote != '"' && quote != '\'') return Parse::Failed;
    const qsizetype value_at = p + 1;
    bool plain = true;
    for (p = value_at; p < end_ && b[p] != quote; ++p) {
      if (b[p] == '<') return Parse::Failed;
      if (b[p] == '&' || b[p] < 0x20 || b[p] >= 0x80) plain = false;
    }
    if (p >= end_) return Parse::NeedMore;
    if (plain) {
      attribute.value_at = value_at;
      attribute.value_size = p - value_at;
    } else {
      // White space is normalized as XML asks: each tab or line end one space.
      attribute.decoded = true;
      attribute.value_at = static_cast<qsizetype>(decoded_.size());
      for (qsizetype v = value_at; v < p;) {
        const unsigned char c = b[v];
        if (c == '&') {
          const int taken = resolve_reference(b + v, b + p, decoded_);
          if (taken <= 0) return Parse::Failed;
          v += taken;
        } else if (c == '\r' || c == '\n' || c == '\t') {
          decoded_.push_back(' ');
          v += c == '\r' && v + 1 < p && b[v + 1] == '\n' ? 2 : 1;
        } else if (c < 0x20) {
          return Parse::Failed;
        } else if (c >= 0x80) {
          const int size = utf8_sequence(b + v, b + p);
          if (size <= 0) return Parse::Failed;
          decoded_.append(reinterpret_cast<const char*>(b + v), static_cast<std::size_t>(size));
          v += size;
        } else {
          decoded_.push_back(static_cast<char>(c));
          ++v;
        }
      }
      attribute.value_size = static_cast<qsizetype>(decoded_.size()) - attribute.value_at;
    }
    ++p;
    prefixed = prefixed || attribute_colon >= 0 || attribute_name(attribute) == "xmlns";
    attributes_.push_back(attribute);
  }

  // The whole tag is in: now the checks that need all of it.
  if (open_starts_.empty() && root_seen_) return Parse::Failed;
  name_ = std::string_view(buffer_.get() + name_at, static_cast<std::size_t>(name_size));
  local_at_ = colon < 0 ? 0 : colon - name_at + 1;
  for (std::size_t i = 0; i < attributes_.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (attribute_name(attributes_[i]) == attribute_name(attributes_[j])) return Parse::Failed;
    }
  }
  open_starts_.push_back(static_cast<qsizetype>(open_names_.size()));
  open_names_.append(name_);
  if (prefixed && !declare_namespaces()) return Parse::Failed;
  root_seen_ = true;
  pending_end_ = self_closing;
  pos_ = p;
  return Parse::Done;
}

bool XmlScanner::declare_namespaces() {
  const qsizetype depth = static_cast<qsizetype>(open_starts_.size());
  for (qsizetype i = 0; i < attribute_count(); ++i) {
    const auto [name, value] = attribute_at(i);
    if (name == "xmlns") {
      bindings_.push_back({std::string(), std::string(value), depth});
      ++generation_;
      continue;
    }
    if (!name.starts_with("xmlns:")) continue;
    const std::string_view prefix = name.substr(6);
    if (value.empty() || prefix == "xml" || prefix == "xmlns") return false;
    bindings_.push_back({std::string(prefix), std::string(value), depth});
    ++generation_;
  }
  const auto declared = [this](std::string_view qualified) {
    const std::size_t colon = qualified.find(':');
    return colon == std::string_view::npos || is_declared(qualified.substr(0, colon));
  };
  if (name_.starts_with("xml") && name_.find(':') == 3) return false;
  if (!declared(name_)) return false;
  for (qsizetype i = 0; i < attribute_count(); ++i) {
    const std::string_view name = attribute_at(i).first;
    if (name.starts_with("xmlns:") || name.starts_with("xml:")) continue;
    if (!declared(name)) return false;
  }
  return true;
}

bool XmlScanner::is_declared(std::string_view prefix) const {
  // A document with prefixes uses a few of them on every tag.
  if (declared_generation_ != generation_) {
    for (std::string& cached : declared_) cached.clear();
    declared_generation_ = generation_;
  }
  if (!prefix.empty() && std::find(declared_.begin(), declared_.end(), prefix) != declared_.end())
    return true;
  const bool declared =
      std::any_of(bindings_.rbegin(), bindings_.rend(),
                  [prefix](const Binding& binding) { return binding.prefix == prefix; });
  if (declared) declared_[next_declared_++ % declared_.size()].assign(prefix);
  return declared;
}

std::optional<std::string_view> XmlScanner::prefix_of(std::string_view uri, bool& ambiguous) const {
  ambiguous = false;
  std::optional<std::string_view> found;
  for (std::size_t i = 0; i < bindings_.size(); ++i) {
    const Binding& binding = bindings_[i];
    const bool shadowed =
        std::any_of(bindings_.begin() + static_cast<qsizetype>(i) + 1, bindings_.end(),
                    [&binding](const Binding& later) { return later.prefix == binding.prefix; });
    if (shadowed || binding.uri != uri) continue;
    if (found) ambiguous = true;
    found = binding.prefix;
  }
  return found;
}

XmlScanner::Parse XmlScanner::end_tag() {
  const auto* b = reinterpret_cast<const unsigned char*>(buffer_.get());
  qsizetype p = pos_ + 2;
  const qsizetype name_at = p;
  qsizetype colon = -1;
  while (p < end_ && is_name_char(b[p])) {
    if (b[p] == ':' && colon < 0) colon = p;
    ++p;
  }
  const qsizetype name_size = p - name_at;
  while (p < end_ && is_space(b[p])) ++p;
  if (p >= end_) return Parse::NeedMore;
  if (b[p] != '>' || open_starts_.empty()) return Parse::Failed;
  name_ = std::string_view(buffer_.get() + name_at, static_cast<std::size_t>(name_size));
  if (std::string_view(open_names_).substr(static_cast<std::size_t>(open_starts_.back())) != name_)
    return Parse::Failed;
  local_at_ = colon < 0 ? 0 : colon - name_at + 1;
  close_element();
  pos_ = p + 1;
  return Parse::Done;
}

void XmlScanner::close_element() {
  const qsizetype depth = static_cast<qsizetype>(open_starts_.size());
  while (!bindings_.empty() && bindings_.back().depth >= depth) {
    bindings_.pop_back();
    ++generation_;
  }
  open_names_.resize(static_cast<std::size_t>(open_starts_.back()));
  open_starts_.pop_back();
}

bool XmlScanner::scan_run(Run kind) {
  const bool keep = kind != Run::Comment;
  // Of ']' in text and sections, '-' in comments, '?' in instructions: how many
  // came last, to find "]]>", "--" and "?>".
  int marks = 0;
  for (;;) {
    if (pos_ >= end_ && !refill()) {
      if (final_) return false;
      if (kind == Run::Text) return true;
      fail("premature end of document");
      return false;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(buffer_.get());
    qsizetype p = pos_;
    qsizetype plain_from = p;
    const auto keep_plain = [&] {
      if (keep) text_.append(buffer_.get() + plain_from, static_cast<std::size_t>(p - plain_from));
      plain_from = p;
    };
    // Asks for more bytes when a character or reference runs past the buffer: 1
    // when they came, 0 at the end of the source, -1 on an error. The buffer may
    // have moved either way.
    const auto need_more = [&]() -> int {
      keep_plain();
      pos_ = p;
      const bool more = refill();
      b = reinterpret_cast<const unsigned char*>(buffer_.get());
      p = plain_from = pos_;
      if (more) return 1;
      return final_ ? -1 : 0;
    };
    bool again = false;
    while (p < end_ && !again) {
      const unsigned char c = b[p];
      if (is_plain(c)) {
        ++p;
        marks = 0;
        continue;
      }
      keep_plain();
      if (c == '\r') {
        if (p + 1 >= end_) {
          const int more = need_more();
          if (more < 0) return false;
          if (more > 0) {
            again = true;
            continue;
          }
        }
        if (keep) text_.push_back('\n');
        p += p + 1 < end_ && b[p + 1] == '\n' ? 2 : 1;
        marks = 0;
      } else if (c == '\t' || c == '\n') {
        if (keep) text_.push_back(static_cast<char>(c));
        ++p;
        marks = 0;
      } else if (c < 0x20) {
        fail("a character XML does not allow");
        return false;
      } else if (c >= 0x80) {
        const int size = utf8_sequence(b + p, b + end_);
        if (size < 0) {
          const int more = need_more();
          if (more <= 0) return more == 0 ? (fail("premature end of document"), false) : false;
          again = true;
          continue;
        }
        if (size == 0) {
          fail("bad UTF-8");
          return false;
        }
        if (keep) text_.append(buffer_.get() + p, static_cast<std::size_t>(size));
        p += size;
        marks = 0;
      } else if (kind == Run::Text && c == '<') {
        pos_ = p;
        return true;
      } else if (kind == Run::Text && c == '&') {
        const int taken = resolve_reference(b + p, b + end_, text_);
        if (taken < 0) {
          fail("bad reference");
          return false;
        }
        if (taken == 0) {
          const int more = need_more();
          if (more <= 0) return more == 0 ? (fail("premature end of document"), false) : false;
          again = true;
          continue;
        }
        p += taken;
        marks = 0;
      } else if (c == '>' && ((kind == Run::Text || kind == Run::CData) && marks >= 2)) {
        if (kind == Run::Text) {
          fail("']]>' in text");
          return false;
        }
        text_.resize(text_.size() - 2);
        pos_ = p + 1;
        return true;
      } else if (c == '>' && kind == Run::Instruction && marks >= 1) {
        text_.pop_back();
        pos_ = p + 1;
        return true;
      } else if (c == '-' && kind == Run::Comment && marks == 1) {
        if (p + 1 >= end_) {
          const int more = need_more();
          if (more <= 0) return more == 0 ? (fail("premature end of document"), false) : false;
          again = true;
          continue;
        }
        if (b[p + 1] != '>') {
          fail("'--' in a comment");
          return false;
        }
        pos_ = p + 2;
        return true;
      } else {
        const bool mark = (c == ']' && (kind == Run::Text || kind == Run::CData)) ||
                          (c == '-' && kind == Run::Comment) ||
                          (c == '?' && kind == Run::Instruction);
        marks = mark ? marks + 1 : 0;
        if (keep) text_.push_back(static_cast<char>(c));
        ++p;
      }
      plain_from = p;
      if (static_cast<qsizetype>(text_.size()) > kMaxTokenBytes) {
        fail("a tag or text too long");
        return false;
      }
    }
    if (again) continue;
    keep_plain();
    pos_ = p;
    if (static_cast<qsizetype>(text_.size()) > kMaxTokenBytes) {
      fail("a tag or text too long");
      return false;
    }
  }
}

bool XmlScanner::xml_declaration() {
  ensure(6);
  const auto starts = [this](std::string_view bytes) {
    return end_ - pos_ >= static_cast<qsizetype>(bytes.size()) &&
           std::string_view(buffer_.get() + pos_, bytes.size()) == bytes;
  };
  if (starts("\xEF\xBB\xBF")) {
    pos_ += 3;
    ensure(6);
  }
  if (!starts("<?xml") || end_ - pos_ < 6 || !is_space(buffer_[pos_ + 5])) return true;
  pos_ += 5;
  text_.clear();
  if (!scan_run(Run::Instruction)) return false;
  // version, then encoding and standalone, each optional, in this order only.
  const std::string_view declaration = text_;
  std::size_t p = 0;
  const auto pseudo_attribute = [&](std::string_view name, std::string_view& value) {
    const std::size_t from = p;
    while (p < declaration.size() && is_space(static_cast<unsigned char>(declaration[p]))) ++p;
    if (p == from || declaration.substr(p, name.size()) != name) return p = from, false;
    p += name.size();
    while (p < declaration.size() && is_space(static_cast<unsigned char>(declaration[p]))) ++p;
    if (p >= declaration.size() || declaration[p] != '=') return p = from, false;
    ++p;
    while (p < declaration.size() && is_space(static_cast<unsigned char>(declaration[p]))) ++p;
    if (p >= declaration.size() || (declaration[p] != '"' && declaration[p] != '\'')) {
      return p = from, false;
    }
    const std::size_t close = declaration.find(declaration[p], p + 1);
    if (close == std::string_view::npos) return p = from, false;
    value = declaration.substr(p + 1, close - p - 1);
    p = close + 1;
    return true;
  };
  std::string_view version;
  std::string_view encoding = "UTF-8";  // also what a declaration without one means
  std::string_view standalone = "no";
  if (!pseudo_attribute("version", version) || version != "1.0") return false;
  pseudo_attribute("encoding", encoding);
  pseudo_attribute("standalone", standalone);
  while (p < declaration.size() && is_space(static_cast<unsigned char>(declaration[p]))) ++p;
  return p == declaration.size() && (standalone == "yes" || standalone == "no") &&
         QByteArray(encoding.data(), static_cast<qsizetype>(encoding.size()))
                 .compare("UTF-8", Qt::CaseInsensitive) == 0;
}

}  // namespace tsubakuro
