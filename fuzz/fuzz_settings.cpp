// Arbitrary bytes as Settings.xml: the reader must either fill the model or
// refuse the file with a clear message, and never crash, hang or overflow.
// What it read must also survive a save and a second load unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
  Check(qs::DecodeField(qs::EncodeField(bytes)) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FuzzDocument(bytes);
  FuzzCodec(bytes);
  return 0;
}
