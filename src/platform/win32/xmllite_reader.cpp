#include "platform/win32/xmllite_reader.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "model/cp1251.h"
#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/xmllite_errors.h"
#include "settings/xml_declaration.h"

namespace qs::win32 {
namespace {

using Kind = XmlNode::Kind;

// Converts straight into the arena; the values of a settings file are ASCII,
// which needs no call to the system.
std::string_view Utf8Into(XmlArena& arena, const wchar_t* text, UINT length) {
  if (text == nullptr || length == 0) return {};
  const std::wstring_view wide(text, length);
  if (std::all_of(wide.begin(), wide.end(), [](wchar_t c) { return c < 0x80; })) {
    char* out = arena.NewChars(length);
    std::transform(wide.begin(), wide.end(), out, [](wchar_t c) { return static_cast<char>(c); });
    return {out, length};
  }
  if (length > INT_MAX) return {};
  const int n = static_cast<int>(length);
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, n, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  char* out = arena.NewChars(static_cast<std::size_t>(size));
  ::WideCharToMultiByte(CP_UTF8, 0, text, n, out, size, nullptr, nullptr);
  return {out, static_cast<std::size_t>(size)};
}

std::string_view NameOf(IXmlReader& reader, XmlArena& arena) {
  const wchar_t* name = nullptr;
  UINT length = 0;
  if (FAILED(reader.GetQualifiedName(&name, &length))) return {};
  return Utf8Into(arena, name, length);
}

std::wstring_view WideValueOf(IXmlReader& reader) {
  const wchar_t* value = nullptr;
  UINT length = 0;
  if (FAILED(reader.GetValue(&value, &length)) || value == nullptr) return {};
  return {value, length};
}

std::string_view ValueOf(IXmlReader& reader, XmlArena& arena) {
  const std::wstring_view value = WideValueOf(reader);
  return Utf8Into(arena, value.data(), static_cast<UINT>(value.size()));
}

bool IsWhitespaceOnly(std::wstring_view text) {
  return text.find_first_not_of(L" \t\r\n") == std::wstring_view::npos;
}

// "в строке 3, позиции 7" when the reader knows where it stopped.
std::string Where(IXmlReader& reader) {
  UINT line = 0, position = 0;
  reader.GetLineNumber(&line);
  reader.GetLinePosition(&position);
  if (line == 0) return {};
  std::string where("в строке "_cp1251);
  where += std::to_string(line);
  where += ", ";
  where += "позиции "_cp1251;
  where += std::to_string(position);
  return where;
}

XmlParseResult Failure(std::string_view what, const std::string& where) {
  XmlParseResult result;
  result.error = std::string("Ошибка XML"_cp1251);
  if (!where.empty()) result.error += " " + where;
  result.error += ": ";
  result.error += what;
  return result;
}

// Attributes first, in document order, as the node tree wants them.
HRESULT ReadAttributes(IXmlReader& reader, XmlArena& arena, std::vector<XmlNode>& children) {
  HRESULT hr = reader.MoveToFirstAttribute();
  while (hr == S_OK) {
    XmlNode& attribute = children.emplace_back();
    attribute.kind = Kind::Attribute;
    attribute.name = NameOf(reader, arena);
    attribute.value = ValueOf(reader, arena);
    hr = reader.MoveToNextAttribute();
  }
  return FAILED(hr) ? hr : S_OK;
}

// Where a node starts; 0 when the reader does not say.
struct Position {
  UINT line = 0;
  UINT column = 0;

  static Position Of(IXmlReader& reader) {
    Position p;
    reader.GetLineNumber(&p.line);
    reader.GetLinePosition(&p.column);
    return p;
  }
  bool Known() const { return line != 0 && column != 0; }
  bool After(const Position& other) const {
    return line != other.line ? line > other.line : column > other.column;
  }
};

// Every node of a document starts after the one before it. A reader that
// reports a node at or before the previous one has run out of input: Wine's
// XmlLite then repeats the last node for ever, or closes the open elements
// without a word, where Windows' reports the cut-off document.
bool StandsStill(const Position& previous, const Position& current) {
  return previous.Known() && current.Known() && !current.After(previous);
}

constexpr HRESULT kUnexpectedEnd = static_cast<HRESULT>(0xC00CEE01);  // MX_E_INPUTEND

// An element whose end tag has not come yet, with the child nodes read so
// far; they move to the arena, side by side, at the end tag.
struct Frame {
  XmlNode element;
  std::vector<XmlNode> children;
};

struct Walk {
  std::unique_ptr<XmlArena> arena = std::make_unique<XmlArena>();
  XmlNode root;
  bool rootSeen = false;
  // The open elements, outermost first: frames[0, depth). Frames past the
  // depth are kept for their vectors' capacity.
  std::vector<Frame> frames;
  std::size_t depth = 0;

  Frame& Open(std::string_view name) {
    if (depth == frames.size()) frames.emplace_back();
    Frame& frame = frames[depth++];
    frame.element = {};
    frame.element.name = name;
    frame.children.clear();
    return frame;
  }

  void Close() {
    Frame& frame = frames[--depth];
    const std::span<XmlNode> children = arena->NewNodes(frame.children.size());
    std::copy(frame.children.begin(), frame.children.end(), children.begin());
    frame.element.children = children;
    if (depth == 0) {
      root = frame.element;
      rootSeen = true;
    } else {
      frames[depth - 1].children.push_back(frame.element);
    }
  }

  // A node without children inside the innermost open element.
  void Add(Kind kind, std::string_view value) {
    XmlNode& node = frames[depth - 1].children.emplace_back();
    node.kind = kind;
    node.value = value;
  }
};

// Reads the whole document iteratively; a deep file cannot exhaust the stack.
XmlParseResult WalkDocument(IXmlReader& reader, std::size_t inputBytes) {
  Walk walk;
  XmlArena& arena = *walk.arena;
  // Each node takes at least one byte of input; more nodes than bytes means
  // a reader going round in circles, whatever positions it reports.
  std::size_t nodesLeft = inputBytes + 1;
  XmlNodeType type = XmlNodeType_None;
  HRESULT hr = S_OK;
  Position previous;
  while ((hr = reader.Read(&type)) == S_OK) {
    if (nodesLeft-- == 0) return Failure(XmlLiteErrorText(kUnexpectedEnd), {});
    // Wine gives whitespace nodes positions that jump back; leave them out.
    if (type != XmlNodeType_Whitespace) {
      const Position current = Position::Of(reader);
      if (StandsStill(previous, current)) return Failure(XmlLiteErrorText(kUnexpectedEnd), {});
      previous = current;
    }
    switch (type) {
      case XmlNodeType_Element: {
        const bool empty = reader.IsEmptyElement() != FALSE;  // before moving to the attributes
        const std::size_t ancestors = walk.depth;
        Frame& frame = walk.Open(NameOf(reader, arena));
        if (const HRESULT attributes = ReadAttributes(reader, arena, frame.children);
            FAILED(attributes)) {
          return Failure(XmlLiteErrorText(attributes), Where(reader));
        }
        // Empty elements count too, so that both back ends refuse the same
        // files.
        if (ancestors >= static_cast<std::size_t>(XmlLiteReader::kMaxDepth)) {
          std::string what("вложенность элементов глубже "_cp1251);
          what += std::to_string(XmlLiteReader::kMaxDepth);
          what += " уровней"_cp1251;
          return Failure(what, Where(reader));
        }
        if (empty) walk.Close();
        break;
      }
      case XmlNodeType_EndElement:
        if (walk.depth != 0) walk.Close();
        break;
      case XmlNodeType_Text:
        if (walk.depth != 0) {
          const std::wstring_view text = WideValueOf(reader);
          if (!IsWhitespaceOnly(text)) {
            const std::string_view utf8 = Utf8Into(arena, text.data(), static_cast<UINT>(text.size()));
            if (!utf8.empty()) walk.Add(Kind::Text, utf8);
          }
        }
        break;
      case XmlNodeType_CDATA:  // kept even when blank: someone wrote it on purpose
        if (walk.depth != 0) walk.Add(Kind::Text, ValueOf(reader, arena));
        break;
      case XmlNodeType_Comment:
        if (walk.depth != 0) walk.Add(Kind::Comment, ValueOf(reader, arena));
        break;
      case XmlNodeType_ProcessingInstruction:
        if (walk.depth != 0) walk.Add(Kind::Other, {});
        break;
      default:  // whitespace, the declaration; a DTD is refused before it gets here
        break;
    }
  }
  if (FAILED(hr)) return Failure(XmlLiteErrorText(hr), Where(reader));
  if (!walk.rootSeen) return Failure("в документе нет корневого элемента"_cp1251, {});
  XmlParseResult result;
  result.ok = true;
  result.root = walk.root;
  result.storage = std::move(walk.arena);
  return result;
}

}  // namespace

XmlParseResult XmlLiteReader::Parse(std::string bytes) {
  // Wine's XmlLite refuses declarations of single-byte encodings that
  // Windows' accepts; after this both see the same UTF-8 document.
  bytes = NormalizeXmlEncoding(std::move(bytes));
  if (bytes.size() > UINT_MAX) return Failure("файл слишком велик"_cp1251, {});

  com_ptr<IStream> stream(
      ::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return Failure(ErrorText(ERROR_NOT_ENOUGH_MEMORY), {});

  com_ptr<IXmlReader> reader;
  HRESULT hr = ::CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.put()), nullptr);
  if (FAILED(hr)) return Failure(XmlLiteErrorText(hr), {});
  // A DTD could pull in entities or other files; Settings.xml never has one.
  reader.get()->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  // The depth limit is ours, so that every back end draws it at the same place.
  reader.get()->SetProperty(XmlReaderProperty_MaxElementDepth, 0);
  hr = reader.get()->SetInput(stream.get());
  if (FAILED(hr)) return Failure(XmlLiteErrorText(hr), {});
  return WalkDocument(*reader.get(), bytes.size());
}

}  // namespace qs::win32
