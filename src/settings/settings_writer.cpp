// WriteSettingsXml: Settings.xml byte for byte, the same as the files already
// in use: no XML declaration, no indentation, empty elements self-closed,
// CR LF at the end. Every value is ASCII (base64, digits, True
// or False), so nothing needs escaping.
#include <charconv>
#include <string_view>
#include <vector>

#include "model/trim.h"
#include "settings/field_codec.h"
#include "settings/settings_file.h"

namespace qs {

namespace {

constexpr std::string_view kTextFields[] = {"shorttext", "longtext", "group"};

// "<name>" + value + "</name>", or "<name/>" for an empty value.
std::size_t ElementLength(std::string_view name, std::size_t valueLength) {
  return valueLength == 0 ? name.size() + 3 : 2 * name.size() + 5 + valueLength;
}

// A field this short is encoded on the spot, while trimming has just read
// it; longer ones are encoded together at the end, several side by side.
constexpr std::size_t kEncodeAtOnce = 64;

// Builds the tags and the short fields first and leaves room for the long
// fields.
class DocumentBuilder {
 public:
  DocumentBuilder(std::size_t capacity, std::size_t fields) {
    out_.reserve(capacity);
    fields_.reserve(fields);
  }

  void Open(std::string_view name) { Tag("<", name, ">"); }
  void Close(std::string_view name) { Tag("</", name, ">"); }
  void Empty(std::string_view name) { Tag("<", name, "/>"); }

  void Element(std::string_view name, std::string_view value) {
    if (value.empty()) return Empty(name);
    Open(name);
    out_ += value;
    Close(name);
  }

  void EncodedElement(std::string_view name, std::string_view trimmed) {
    if (trimmed.empty()) return Empty(name);
    Open(name);
    if (trimmed.size() < kEncodeAtOnce) {
      AppendEncodedField(out_, trimmed);
    } else {
      fields_.push_back({trimmed, out_.size()});
      out_.resize(out_.size() + EncodedFieldLength(trimmed.size()));
    }
    Close(name);
  }

  void Raw(std::string_view text) { out_ += text; }

  std::string Take() {
    std::vector<FieldJob> jobs;
    jobs.reserve(fields_.size());
    for (const Field& f : fields_) jobs.push_back({f.text, out_.data() + f.offset});
    EncodeFieldsInto(jobs);
    return std::move(out_);
  }

 private:
  struct Field {
    std::string_view text;
    std::size_t offset;
  };

  void Tag(std::string_view open, std::string_view name, std::string_view close) {
    out_ += open;
    out_ += name;
    out_ += close;
  }

  std::string out_;
  std::vector<Field> fields_;
};

// The texts of the rows live all over the heap; asking for those a few
// rows ahead keeps the loop from waiting on the memory for each of them.
constexpr std::size_t kPrefetchRows = 4;

void PrefetchText(const std::string& text) {
#if defined(__GNUC__) || defined(__clang__)
  if (text.empty()) return;
  __builtin_prefetch(text.data());
  __builtin_prefetch(text.data() + text.size() - 1);  // trimming reads from both ends
#else
  (void)text;
#endif
}

void PrefetchTexts(const TextEntry& row) {
  PrefetchText(row.shorttext);
  PrefetchText(row.longtext);
  if (row.group) PrefetchText(*row.group);
}

// Room for the whole document, so that it is built in one allocation. The
// fields are counted untrimmed: trimming would read every text once more
// just to size the buffer, and it only ever makes a field shorter.
std::size_t DocumentCapacity(const EntryModel& model, std::size_t optionsLength) {
  std::size_t n = ElementLength("Config", 1) - 1 + 2;  // tags and the final CR LF
  std::size_t texts = 0;
  for (const TextEntry& row : model.Rows()) {
    if (row.IsHistoryRow()) continue;
    std::size_t fields = 0;
    const std::size_t lengths[] = {row.shorttext.size(), row.longtext.size(), row.group->size()};
    for (std::size_t f = 0; f < 3; ++f) {
      fields += ElementLength(kTextFields[f], EncodedFieldLength(lengths[f]));
    }
    texts += ElementLength("text", fields);
  }
  n += ElementLength("Texts", texts);
  std::size_t groups = 0;
  for (std::size_t j = 1; j < model.GroupCount(); ++j) {
    groups += ElementLength(
        "group", ElementLength("namegroup", EncodedFieldLength(model.Group(j).size())));
  }
  n += ElementLength("Groups", groups);
  return n + ElementLength("keyword", optionsLength);
}

}  // namespace

std::string WriteSettingsXml(const EntryModel& model) {
  const Options& options = model.options();
  char hotText[8];
  const auto hotEnd = std::to_chars(hotText, hotText + sizeof hotText, options.hotkey).ptr;
  const std::string_view hot(hotText, static_cast<std::size_t>(hotEnd - hotText));
  const std::string_view autostart = options.autostart ? "True" : "False";
  const std::string_view buff = options.monitorClipboard ? "True" : "False";
  const std::size_t optionsLength = ElementLength("hot", hot.size()) +
                                    ElementLength("auto", autostart.size()) +
                                    ElementLength("buff", buff.size());

  DocumentBuilder doc(DocumentCapacity(model, optionsLength),
                      3 * model.RowCount() + model.GroupCount());
  doc.Open("Config");

  // History rows have no group and are never saved.
  bool anyEntry = false;
  const std::vector<TextEntry>& rows = model.Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TextEntry& row = rows[i];
    if (i + kPrefetchRows < rows.size()) PrefetchTexts(rows[i + kPrefetchRows]);
    if (row.IsHistoryRow()) continue;
    if (!anyEntry) doc.Open("Texts");
    anyEntry = true;
    doc.Open("text");
    doc.EncodedElement("shorttext", TrimView(row.shorttext));
    doc.EncodedElement("longtext", TrimView(row.longtext));
    doc.EncodedElement("group", TrimView(*row.group));
    doc.Close("text");
  }
  anyEntry ? doc.Close("Texts") : doc.Empty("Texts");

  // Line 0, the built-in group, is never written.
  if (model.GroupCount() > 1) {
    doc.Open("Groups");
    for (std::size_t j = 1; j < model.GroupCount(); ++j) {
      doc.Open("group");
      doc.EncodedElement("namegroup", TrimView(model.Group(j)));
      doc.Close("group");
    }
    doc.Close("Groups");
  } else {
    doc.Empty("Groups");
  }

  doc.Open("keyword");
  doc.Element("hot", hot);
  doc.Element("auto", autostart);
  doc.Element("buff", buff);
  doc.Close("keyword");
  doc.Close("Config");
  doc.Raw("\r\n");
  return doc.Take();
}

}  // namespace qs
