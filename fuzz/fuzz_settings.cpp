// Arbitrary bytes as Settings.xml: the reader must either fill the model or
// refuse the file with a clear message, and never crash, hang or overflow.
// What it read must also survive a save and a second load unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/entry_model.h"
#include "model/handler_error.h"
#include "platform/pugixml/pugixml_reader.h"
#include "settings/field_codec.h"
#include "settings/settings_file.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool SameModel(const qs::EntryModel& a, const qs::EntryModel& b) {
  return a.Rows() == b.Rows() && a.Groups() == b.Groups() && a.options() == b.options();
}

void FuzzDocument(const std::string& bytes) {
  qs::PugiXmlReader reader;
  qs::XmlParseResult parsed = reader.Parse(bytes);
  if (!parsed.ok) {
    Check(!parsed.error.empty());
    return;
  }
  qs::EntryModel model;
  try {
    qs::ReadSettingsTree(parsed.root, model);
  } catch (const qs::HandlerError& e) {
    Check(e.what()[0] != '\0');
    return;
  }

  qs::XmlParseResult again = reader.Parse(qs::WriteSettingsXml(model));
  Check(again.ok);
  qs::EntryModel reloaded;
  qs::ReadSettingsTree(again.root, reloaded);
  Check(SameModel(model, reloaded));
}

void FuzzCodec(std::string_view bytes) {
  const std::string decoded = qs::DecodeField(bytes);
  Check(decoded == qs::XorDecode(qs::Base64LeDecode(bytes), qs::kFieldKey));
  for (const qs::CodecPath path : {qs::CodecPath::Portable, qs::CodecPath::Vector}) {
    Check(qs::DecodeFieldOn(path, bytes) == decoded);
  }
  Check(qs::DecodeField(qs::EncodeField(bytes)) == bytes);
}

// The input cut into fields whose lengths come from its own bytes, encoded
// all at once by every path and one by one.
void FuzzEncoder(std::string_view bytes) {
  if (bytes.empty()) return;
  std::vector<std::string_view> texts;
  std::size_t at = 0;
  for (std::size_t i = 0; at < bytes.size() && texts.size() < 64; ++i) {
    const std::size_t wanted = static_cast<unsigned char>(bytes[i % bytes.size()]) * 3u;
    const std::size_t length = std::min(bytes.size() - at, wanted);
    texts.push_back(bytes.substr(at, length));
    at += length;
  }
  texts.push_back(bytes.substr(at));
  for (const qs::CodecPath path : {qs::CodecPath::Portable, qs::CodecPath::Vector}) {
    std::vector<std::string> outs;
    std::vector<qs::FieldJob> jobs;
    for (const std::string_view text : texts) {
      outs.emplace_back(qs::EncodedFieldLength(text.size()), '\0');
    }
    for (std::size_t i = 0; i < texts.size(); ++i) jobs.push_back({texts[i], outs[i].data()});
    qs::EncodeFieldsIntoOn(path, jobs);
    for (std::size_t i = 0; i < texts.size(); ++i) Check(outs[i] == qs::EncodeField(texts[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FuzzDocument(bytes);
  FuzzCodec(bytes);
  FuzzEncoder(bytes);
  return 0;
}
