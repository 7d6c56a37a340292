// The batch tool's image commands: image export, image import and image info.
#include "cli/commands.h"

#include "document/image_resources.h"
#include "document/resource_edits.h"
#include "messages/messages.h"

namespace kolvre::cli {

int cmdImage(Context& c) {
  if (c.args.empty()) return kUsage;
  const std::string verb = c.args[0];
  const std::size_t count = verb == "info" ? 4 : 5;
  if ((verb != "export" && verb != "import" && verb != "info") || c.args.size() != count)
    return kUsage;
  const std::vector<std::string> rest(c.args.begin() + 1, c.args.end());
  Context inner{rest, c.in, c.out, c.err, c.ui, c.nth, c.measure};
  const auto type = parseType(rest[2]);
  if (!type || (*type != ResourceType::Bitmap && *type != ResourceType::Icon &&
                *type != ResourceType::Cursor))
    return kUsage;
  return onResource(inner, [&](Document& doc, std::size_t position, const BlockExtent&) {
    const ImageSource source = imageSource(doc, position);
    if (source.kind == ImageSource::Kind::Unreadable) {
      c.err << cannotShowText(source.problem) << "\n";
      return kFailed;
    }
    if (verb == "import") {
      if (source.kind == ImageSource::Kind::File) {
        c.err << "La risorsa " << rest[1] << " usa il file " << source.file
              << ": importare i byte in quel file.\n";
        return kFailed;
      }
      const FileRead in = readFileBytes(rest[3]);
      if (in.error != 0) {
        c.err << "Impossibile leggere il file " << rest[3] << ".\n";
        return kFailed;
      }
      const std::vector<std::uint8_t> bytes(in.bytes.begin(), in.bytes.end());
      const auto edit = imageDataEdit(doc.text(), doc.index(), position, bytes);
      return edit ? commitAndSave(c, doc, *edit) : kFailed;
    }
    std::vector<std::uint8_t> bytes = source.bytes;
    if (source.kind == ImageSource::Kind::File) {
      const FileRead in = readFileBytes(source.file);
      bytes.assign(in.bytes.begin(), in.bytes.end());
    }
    if (verb == "export") {
      const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (rest[3] == "-") {
        c.out << raw;
        return kOk;
      }
      const int error = writeFileSafely(rest[3], raw);
      if (error == 0) return kOk;
      c.err << "Impossibile salvare il file " << rest[3] << ".\n"
            << saveFailureReason(error) << "\n";
      return kFailed;
    }
    const auto size = pictureSize(*type, bytes);
    if (!size) {
      c.err << cannotShowText("i dati non formano un'immagine.") << "\n";
      return kFailed;
    }
    c.out << (*type == ResourceType::Bitmap ? "Bitmap: " : "Icon: ") << size->width << " x "
          << size->height << "\n";
    return kOk;
  });
}

}  // namespace kolvre::cli
