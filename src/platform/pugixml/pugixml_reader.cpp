#include "platform/pugixml/pugixml_reader.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1251.h"
#include "settings/xml_declaration.h"

namespace qs {

namespace {

// Deeper documents are refused at the same depth as the XmlLite reader
// refuses them; no settings file nests deeper than four levels.
constexpr std::size_t kMaxDepth = 1000;

// Whitespace-only text is left out (pugixml drops it unless asked to keep
// it), so a hand-indented file reads like the written one. The document type
// is parsed only to be refused, as XmlLite refuses it.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_comments | pugi::parse_pi |
                                   pugi::parse_doctype | pugi::parse_escapes | pugi::parse_eol |
                                   pugi::parse_wconv_attribute | pugi::parse_fragment |
                                   pugi::parse_embed_pcdata;

XmlParseResult Failure(std::string cp1251) {
  XmlParseResult result;
  result.error = std::move(cp1251);
  return result;
}

// The parsed file, which the tree points into. pugixml's own nodes are
// freed as soon as the tree is built: parsed in place, every name and value
// lies in the buffer.
struct PugiStorage : XmlArena {
  std::string bytes;
};

// Names and values are views into the buffer, which pugixml parsed in place
// and ended each with a NUL; they are measured only when read.
XmlNode Converted(const pugi::xml_node& source) {
  XmlNode node;
  switch (source.type()) {
    case pugi::node_element:
      node.kind = XmlNode::Kind::Element;
      node.name = XmlText::Terminated(source.name());
      break;
    case pugi::node_pcdata:
    case pugi::node_cdata:
      node.kind = XmlNode::Kind::Text;
      node.value = XmlText::Terminated(source.value());
      break;
    case pugi::node_comment:
      node.kind = XmlNode::Kind::Comment;
      node.value = XmlText::Terminated(source.value());
      break;
    default:
      node.kind = XmlNode::Kind::Other;
      break;
  }
  return node;
}

// Builds the tree in one walk in document order, without recursion; false
// when it nests too deep. An element's child nodes are gathered until its
// last child has been seen and then placed side by side in the arena, so
// pugixml's sibling links are followed once.
bool BuildTree(const pugi::xml_node& rootElement, XmlNode& root, XmlArena& arena,
               std::string_view buffer) {
  struct Frame {
    pugi::xml_node source;
    std::vector<XmlNode> children;
  };
  // The open elements, outermost first: frames[0, depth). Frames past the
  // depth keep their vectors' capacity for the next element at that depth.
  std::vector<Frame> frames;
  std::size_t depth = 0;
  const auto open = [&](const pugi::xml_node& element) {
    if (depth == frames.size()) frames.emplace_back();
    Frame& frame = frames[depth++];
    frame.source = element;
    frame.children.clear();
    for (auto a = element.first_attribute(); a; a = a.next_attribute()) {
      XmlNode& attribute = frame.children.emplace_back();
      attribute.kind = XmlNode::Kind::Attribute;
      attribute.name = XmlText::Terminated(a.name());
      attribute.value = XmlText::Terminated(a.value());
    }
    // pugixml keeps a text that comes before any child node in the element
    // itself (parse_embed_pcdata), which spares a node for nearly every
    // element of a settings file. Such a text lies in the buffer; an element
    // without one gives a static empty string.
    const char* text = element.value();
    const std::less<const char*> before;
    if (!before(text, buffer.data()) && before(text, buffer.data() + buffer.size())) {
      XmlNode& node = frame.children.emplace_back();
      node.kind = XmlNode::Kind::Text;
      node.value = XmlText::Terminated(text);
    }
  };
  // Ends the innermost element; returns where the walk goes on.
  const auto close = [&]() {
    Frame& frame = frames[--depth];
    const std::span<XmlNode> children = arena.NewNodes(frame.children.size());
    std::copy(frame.children.begin(), frame.children.end(), children.begin());
    XmlNode& element = depth == 0 ? root : frames[depth - 1].children.back();
    element.children = children;
    return frame.source.next_sibling();
  };

  root = Converted(rootElement);
  open(rootElement);
  pugi::xml_node next = rootElement.first_child();
  while (depth != 0) {
    if (!next) {
      next = close();
      if (depth == 0) break;
      continue;
    }
    const XmlNode& child = frames[depth - 1].children.emplace_back(Converted(next));
    if (child.kind == XmlNode::Kind::Element) {
      if (depth >= kMaxDepth) return false;
      open(next);
      next = next.first_child();
    } else {
      next = next.next_sibling();
    }
  }
  return true;
}

// pugixml accepts a few things that XmlLite refuses; refuse them here too so
// that both readers agree on which files are broken. The document is parsed
// as a fragment so that text outside the root element shows up as nodes.
std::string DocumentLevelProblem(const pugi::xml_document& doc) {
  std::size_t elements = 0;
  bool doctype = false;
  bool text = false;
  for (auto c = doc.first_child(); c; c = c.next_sibling()) {
    elements += c.type() == pugi::node_element;
    doctype = doctype || c.type() == pugi::node_doctype;
    text = text || c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata;
  }
  if (elements == 0) return std::string("в документе нет корневого элемента"_cp1251);
  if (doctype) return std::string("описание типа документа (DOCTYPE) не допускается"_cp1251);
  if (text) return std::string("текст вне корневого элемента"_cp1251);
  if (elements > 1) return std::string("в документе больше одного корневого элемента"_cp1251);
  return {};
}

}  // namespace

XmlParseResult PugiXmlReader::Parse(std::string bytes) {
  auto storage = std::make_unique<PugiStorage>();
  storage->bytes = NormalizeXmlEncoding(std::move(bytes));
  std::string& text = storage->bytes;
  pugi::xml_document doc;
  // In place: the nodes point into `text`, which the storage keeps.
  const pugi::xml_parse_result parsed =
      doc.load_buffer_inplace(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    return Failure(std::string("ошибка XML в позиции "_cp1251) + std::to_string(parsed.offset) +
                   ": " + parsed.description());
  }
  if (std::string problem = DocumentLevelProblem(doc); !problem.empty()) {
    return Failure(std::move(problem));
  }

  XmlParseResult result;
  if (!BuildTree(doc.document_element(), result.root, *storage, text)) {
    return Failure(std::string("элементы вложены глубже "_cp1251) + std::to_string(kMaxDepth) +
                   std::string(" уровней"_cp1251));
  }
  result.ok = true;
  result.storage = std::move(storage);
  return result;
}

}  // namespace qs
