#include "skins/skin_data.h"

#include "common/skin_paths.h"
#include "forms/error_message.h"
#include "platform/xml_document.h"

namespace windlock {
namespace {

// The script passed no XML node.
XmlDocument& Document(Variant& value) {
  if (!value.is_document() || !value.document()) throw ObjectRequired();
  return *value.document();
}

// Any node that takes children: a document, or an element under which the data goes.
XmlNode& Node(Variant& value) {
  if (value.is_node() && value.node()) return *value.node();
  return Document(value);
}

std::string DataFile(Platform& platform, const Settings& settings) {
  return SkinFilePath(platform.files.ProgramFolder(), settings.DefaultSkin, ".xml");
}

}  // namespace

bool LoadXMLDATA(Platform& platform, const Settings& settings, Variant& target) {
  bool result = false;
  if (settings.DefaultSkin == kOriginalSkin) return result;
  try {
    std::string path = DataFile(platform, settings);
    if (!platform.files.FileExists(path)) return result;
    std::unique_ptr<XmlDocument> data = platform.xml.CreateDocument();
    result = data->Load(path);
    if (result) Node(target).AppendCopyOfRoot(*data);
  } catch (const Error& error) {
    platform.ui.ShowMessageBox(std::to_string(error.number()) + kCrLf + error.description(),
                               std::nullopt, kMbOk);
  }
  return result;
}

bool SaveXMLDATA(Platform& platform, const Settings& settings, Variant& source) {
  if (settings.DefaultSkin == kOriginalSkin) return false;
  try {
    if (!platform.files.FolderExists(
            SkinFolderPath(platform.files.ProgramFolder(), settings.DefaultSkin))) {
      return false;
    }
    std::unique_ptr<XmlDocument> data = platform.xml.CreateDocument();
    data->AppendCopyOfRoot(Document(source));
    data->Save(DataFile(platform, settings));
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace windlock
