#include "core/workbook/member_reader.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/workbook/read_context.h"
#include "core/workbook/workbook_messages.h"
#include "core/workbook/zip_archive.h"

namespace tsubakuro {
namespace {

// Between a namespace and a local name in the names the parser reports; a space
// is in neither.
constexpr XML_Char kNamespaceSeparator = ' ';
constexpr int kChunkSize = 256 * 1024;

// The parser buffers a whole start tag, however long a file makes it: its memory
// is counted and refused past this, which it reports as running out of memory.
constexpr std::size_t kParserMemoryLimit = 8 << 20;

struct ParserMemory {
  std::size_t used = 0;
};
thread_local ParserMemory* current_memory = nullptr;

// Each block carries its size before it, so freeing and growing can count.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* counted_malloc(std::size_t size) {
  ParserMemory* memory = current_memory;
  if (memory && memory->used + size > kParserMemoryLimit) return nullptr;
  auto* block = static_cast<char*>(std::malloc(size + kHeader));
  if (!block) return nullptr;
  std::memcpy(block, &size, sizeof size);
  if (memory) memory->used += size;
  return block + kHeader;
}

void counted_free(void* pointer) {
  if (!pointer) return;
  char* block = static_cast<char*>(pointer) - kHeader;
  std::size_t size;
  std::memcpy(&size, block, sizeof size);
  if (current_memory) current_memory->used -= std::min(size, current_memory->used);
  std::free(block);
}

void* counted_realloc(void* pointer, std::size_t size) {
  if (!pointer) return counted_malloc(size);
  char* block = static_cast<char*>(pointer) - kHeader;
  std::size_t old_size;
  std::memcpy(&old_size, block, sizeof old_size);
  ParserMemory* memory = current_memory;
  if (memory && size > old_size && memory->used + (size - old_size) > kParserMemoryLimit)
    return nullptr;
  auto* grown = static_cast<char*>(std::realloc(block, size + kHeader));
  if (!grown) return nullptr;
  std::memcpy(grown, &size, sizeof size);
  if (memory) memory->used = memory->used - std::min(old_size, memory->used) + size;
  return grown + kHeader;
}

const XML_Memory_Handling_Suite kCountedMemory{counted_malloc, counted_realloc, counted_free};

}  // namespace

XmlName XmlAttributes::split_name(const XML_Char* name) {
  const std::string_view whole(name);
  const std::size_t separator = whole.rfind(kNamespaceSeparator);
  if (separator == std::string_view::npos) return {{}, whole};
  return {whole.substr(0, separator), whole.substr(separator + 1)};
}

std::optional<std::string_view> XmlAttributes::value(std::string_view ns,
                                                     std::string_view local) const {
  for (const XML_Char** a = pairs_; *a; a += 2) {
    if (split_name(a[0]).is(ns, local)) return std::string_view(a[1]);
  }
  return std::nullopt;
}

void XmlHandler::stop(Failure reason) {
  if (stopped_) return;
  stopped_ = std::move(reason);
  if (parser_) XML_StopParser(parser_, XML_FALSE);
}

// The parser's callbacks, each handing on to the member's handler.
class XmlMemberParse {
 public:
  static void start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* handler = static_cast<XmlHandler*>(data);
    handler->start(XmlAttributes::split_name(name), XmlAttributes(attributes));
  }
  static void end(void* data, const XML_Char* name) {
    auto* handler = static_cast<XmlHandler*>(data);
    handler->end(XmlAttributes::split_name(name));
  }
  static void text(void* data, const XML_Char* text, int size) {
    auto* handler = static_cast<XmlHandler*>(data);
    if (!handler->text_) return;
    if (handler->text_->size() + static_cast<std::size_t>(size) > kCellTextLimit) {
      handler->stop(*handler->text_too_long_);
      return;
    }
    handler->text_->append(text, static_cast<std::size_t>(size));
  }
  static void doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* handler = static_cast<XmlHandler*>(data);
    handler->stop(*handler->doctype_);
  }
};

Result<void> read_xml_member(const ZipArchive& zip, const QString& name, XmlHandler& handler,
                             const ReadContext& context) {
  struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
  };
  const std::unique_ptr<zip_file_t, ZipFileClose> file(
      zip_fopen(zip.handle(), name.toUtf8().constData(), 0));
  if (!file) return refusal(missing_member_reason(name));

  ParserMemory memory;
  ParserMemory* const outer = current_memory;
  current_memory = &memory;
  struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
  };
  const std::unique_ptr<XML_ParserStruct, ParserFree> parser(
      XML_ParserCreate_MM(nullptr, &kCountedMemory, &kNamespaceSeparator));
  struct Restore {
    ParserMemory* outer;
    ~Restore() { current_memory = outer; }
  } restore{outer};
  if (!parser) return context.damaged(broken_member_reason(name));

  handler.parser_ = parser.get();
  handler.text_too_long_ = context.damaged(cell_too_long_reason(name));
  // A document type could declare entities; no part of a workbook has one.
  handler.doctype_ = context.damaged(doctype_reason(name));
  XML_SetUserData(parser.get(), &handler);
  XML_SetElementHandler(parser.get(), XmlMemberParse::start, XmlMemberParse::end);
  XML_SetCharacterDataHandler(parser.get(), XmlMemberParse::text);
  XML_SetStartDoctypeDeclHandler(parser.get(), XmlMemberParse::doctype);
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

  for (;;) {
    void* buffer = XML_GetBuffer(parser.get(), kChunkSize);
    if (!buffer) return context.damaged(too_large_member_reason(name));
    const zip_int64_t got = zip_fread(file.get(), buffer, kChunkSize);
    if (got < 0) return context.damaged(broken_member_reason(name));
    const bool last = got == 0;
    if (XML_ParseBuffer(parser.get(), static_cast<int>(got), last) != XML_STATUS_OK) {
      if (handler.stopped_) return *handler.stopped_;
      if (XML_GetErrorCode(parser.get()) == XML_ERROR_NO_MEMORY)
        return context.damaged(too_large_member_reason(name));
      return context.damaged(broken_member_reason(name));
    }
    if (last) return {};
  }
}

}  // namespace tsubakuro
