#include "platform/pugixml/pugixml_reader.h"

#include <cstddef>
#include <pugixml.hpp>
#include <string_view>
#include <vector>

#include "model/cp1251.h"
#include "settings/xml_declaration.h"

namespace qs {

namespace {

// Deeper documents are refused: the node tree is freed recursively, and no
// settings file nests deeper than four levels.
constexpr std::size_t kMaxDepth = 1000;

// Whitespace-only text is left out (pugixml drops it unless asked to keep
// it), so a hand-indented file reads like the written one. The document type
// is parsed only to be refused, as XmlLite refuses it.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_comments | pugi::parse_pi |
                                   pugi::parse_doctype | pugi::parse_escapes | pugi::parse_eol |
                                   pugi::parse_wconv_attribute | pugi::parse_fragment;

XmlParseResult Failure(std::string cp1251) {
  XmlParseResult result;
  result.error = std::move(cp1251);
  return result;
}

XmlNode Converted(const pugi::xml_node& source) {
  XmlNode node;
  switch (source.type()) {
    case pugi::node_element:
      node.kind = XmlNode::Kind::Element;
      node.name = source.name();
      break;
    case pugi::node_pcdata:
    case pugi::node_cdata:
      node.kind = XmlNode::Kind::Text;
      node.value = source.value();
      break;
    case pugi::node_comment:
      node.kind = XmlNode::Kind::Comment;
      node.value = source.value();
      break;
    default:
      node.kind = XmlNode::Kind::Other;
      break;
  }
  return node;
}

// Fills the element's children (attributes first) in one allocation, so
// the addresses of the new child elements stay valid for the caller's stack.
void FillChildren(const pugi::xml_node& source, XmlNode& target) {
  std::size_t count = 0;
  for (auto a = source.first_attribute(); a; a = a.next_attribute()) ++count;
  for (auto c = source.first_child(); c; c = c.next_sibling()) ++count;
  target.children.reserve(count);
  for (auto a = source.first_attribute(); a; a = a.next_attribute()) {
    XmlNode& attribute = target.children.emplace_back();
    attribute.kind = XmlNode::Kind::Attribute;
    attribute.name = a.name();
    attribute.value = a.value();
  }
  for (auto c = source.first_child(); c; c = c.next_sibling()) {
    target.children.push_back(Converted(c));
  }
}

// Builds the tree without recursion; false when it nests too deep.
bool BuildTree(const pugi::xml_node& element, XmlNode& root) {
  struct Pending {
    pugi::xml_node source;
    XmlNode* target;
    std::size_t depth;
  };
  root = Converted(element);
  std::vector<Pending> pending{{element, &root, 1}};
  while (!pending.empty()) {
    const Pending p = pending.back();
    pending.pop_back();
    if (p.depth > kMaxDepth) return false;
    FillChildren(p.source, *p.target);
    std::size_t i = 0;
    for (auto a = p.source.first_attribute(); a; a = a.next_attribute()) ++i;
    for (auto c = p.source.first_child(); c; c = c.next_sibling(), ++i) {
      if (c.type() == pugi::node_element) pending.push_back({c, &p.target->children[i], p.depth + 1});
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
  bytes = NormalizeXmlEncoding(std::move(bytes));
  pugi::xml_document doc;
  // In place: the nodes point into `bytes`, which outlives `doc`.
  const pugi::xml_parse_result parsed =
      doc.load_buffer_inplace(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    return Failure(std::string("ошибка XML в позиции "_cp1251) + std::to_string(parsed.offset) +
                   ": " + parsed.description());
  }
  if (std::string problem = DocumentLevelProblem(doc); !problem.empty()) {
    return Failure(std::move(problem));
  }

  XmlParseResult result;
  if (!BuildTree(doc.document_element(), result.root)) {
    return Failure(std::string("элементы вложены глубже "_cp1251) + std::to_string(kMaxDepth) +
                   std::string(" уровней"_cp1251));
  }
  result.ok = true;
  return result;
}

}  // namespace qs
