#include "platform/win32/xmllite_reader.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <climits>
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

std::string Utf8Of(const wchar_t* text, UINT length) {
  return text ? WideToUtf8({text, length}) : std::string();
}

std::string NameOf(IXmlReader& reader) {
  const wchar_t* name = nullptr;
  UINT length = 0;
  if (FAILED(reader.GetQualifiedName(&name, &length))) return {};
  return Utf8Of(name, length);
}

std::string ValueOf(IXmlReader& reader) {
  const wchar_t* value = nullptr;
  UINT length = 0;
  if (FAILED(reader.GetValue(&value, &length))) return {};
  return Utf8Of(value, length);
}

bool IsWhitespaceOnly(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
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
HRESULT ReadAttributes(IXmlReader& reader, XmlNode& element) {
  HRESULT hr = reader.MoveToFirstAttribute();
  while (hr == S_OK) {
    element.children.push_back({Kind::Attribute, NameOf(reader), ValueOf(reader), {}});
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

struct Walk {
  XmlParseResult result;
  bool rootSeen = false;
  // The open elements, outermost first. Only the innermost one gains
  // children, so the pointers to its ancestors stay valid.
  std::vector<XmlNode*> open;
};

// Reads the whole document iteratively; a deep file cannot exhaust the stack.
XmlParseResult WalkDocument(IXmlReader& reader, std::size_t inputBytes) {
  Walk walk;
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
        XmlNode element{Kind::Element, NameOf(reader), {}, {}};
        if (const HRESULT attributes = ReadAttributes(reader, element); FAILED(attributes)) {
          return Failure(XmlLiteErrorText(attributes), Where(reader));
        }
        // Empty elements count too, so that both back ends refuse the same
        // files.
        if (walk.open.size() >= static_cast<std::size_t>(XmlLiteReader::kMaxDepth)) {
          std::string what("вложенность элементов глубже "_cp1251);
          what += std::to_string(XmlLiteReader::kMaxDepth);
          what += " уровней"_cp1251;
          return Failure(what, Where(reader));
        }
        XmlNode* placed = nullptr;
        if (walk.open.empty()) {
          walk.result.root = std::move(element);
          walk.rootSeen = true;
          placed = &walk.result.root;
        } else {
          walk.open.back()->children.push_back(std::move(element));
          placed = &walk.open.back()->children.back();
        }
        if (!empty) walk.open.push_back(placed);
        break;
      }
      case XmlNodeType_EndElement:
        if (!walk.open.empty()) walk.open.pop_back();
        break;
      case XmlNodeType_Text:
        if (!walk.open.empty()) {
          std::string text = ValueOf(reader);
          if (!IsWhitespaceOnly(text)) {
            walk.open.back()->children.push_back({Kind::Text, {}, std::move(text), {}});
          }
        }
        break;
      case XmlNodeType_CDATA:  // kept even when blank: someone wrote it on purpose
        if (!walk.open.empty()) {
          walk.open.back()->children.push_back({Kind::Text, {}, ValueOf(reader), {}});
        }
        break;
      case XmlNodeType_Comment:
        if (!walk.open.empty()) {
          walk.open.back()->children.push_back({Kind::Comment, {}, ValueOf(reader), {}});
        }
        break;
      case XmlNodeType_ProcessingInstruction:
        if (!walk.open.empty()) {
          walk.open.back()->children.push_back({Kind::Other, {}, {}, {}});
        }
        break;
      default:  // whitespace, the declaration; a DTD is refused before it gets here
        break;
    }
  }
  if (FAILED(hr)) return Failure(XmlLiteErrorText(hr), Where(reader));
  if (!walk.rootSeen) return Failure("в документе нет корневого элемента"_cp1251, {});
  walk.result.ok = true;
  return std::move(walk.result);
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
