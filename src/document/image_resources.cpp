#include "document/image_resources.h"

#include <cstdio>
#include <filesystem>

#include "base/text.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "document/work_files.h"
#include "images/hex_data.h"
#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

namespace fs = std::filesystem;

namespace {

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}

// The entry of `folder` named `name` without regard to ASCII case, if there is one.
std::optional<fs::path> entryIgnoringCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (equalsIgnoringCase(entry.path().filename().string(), name)) return entry.path();
  return std::nullopt;
}

bool isIconKind(ResourceType type) {
  return type == ResourceType::Icon || type == ResourceType::Cursor;
}

}  // namespace

std::string resolveImageFile(std::string_view scriptPath, std::string_view name) {
  fs::path folder = fs::path(std::string(scriptPath)).parent_path();
  std::string portable(name);
  for (char& c : portable)
    if (c == '\\') c = '/';
  const fs::path relative(portable);
  const fs::path exact = relative.is_absolute() ? relative : folder / relative;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  // Names written on a system that ignores case: match each part of the path that way.
  fs::path found = relative.is_absolute() ? fs::path("/") : folder;
  for (const fs::path& part : relative.relative_path()) {
    if (part == "." || part == "..") {
      found /= part;
      continue;
    }
    const auto entry = entryIgnoringCase(found.empty() ? fs::path(".") : found, part.string());
    if (!entry) return exact.string();
    found = *entry;
  }
  return found.string();
}

ImageSource imageSource(const Document& doc, std::size_t position) {
  ImageSource source;
  const auto block = entryBlock(doc.statements(), doc.index(), position);
  if (!block) {
    source.problem = unlocatableMessage(doc.display(doc.index()[position].name));
    return source;
  }
  const std::string_view text = block->of(doc.text());
  if (auto bytes = decodeBitmap(text)) {
    source.kind = ImageSource::Kind::Inline;
    source.bytes = std::move(*bytes);
    return source;
  }
  if (const auto name = imageFileName(text)) {
    source.file = resolveImageFile(doc.fileName(), doc.display(*name));
    std::error_code ec;
    if (fs::is_regular_file(source.file, ec)) {
      source.kind = ImageSource::Kind::File;
    } else {
      source.problem = "file " + source.file + " non trovato.";
    }
    return source;
  }
  source.problem = "la risorsa non contiene dati fra { e } né nomina un file.";
  return source;
}

std::optional<PictureSize> pictureSize(ResourceType type, const std::vector<std::uint8_t>& bytes) {
  if (type == ResourceType::Bitmap) {
    // File header (14 bytes), then an information header of at least 12 bytes.
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const std::uint32_t infoSize = le32(bytes, 14);
    if (infoSize == 12) {  // the oldest header: 16-bit sizes
      return PictureSize{static_cast<int>(le16(bytes, 18)), static_cast<int>(le16(bytes, 20))};
    }
    if (infoSize < 40 || bytes.size() < 14 + 40) return std::nullopt;
    const auto width = static_cast<std::int32_t>(le32(bytes, 18));
    const auto height = static_cast<std::int32_t>(le32(bytes, 22));
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    return PictureSize{width, height < 0 ? -height : height};
  }
  if (!isIconKind(type)) return std::nullopt;
  // Directory: reserved 0, type 1 (icon) or 2 (cursor), a count, then 16-byte entries.
  if (bytes.size() < 6 + 16 || le16(bytes, 0) != 0) return std::nullopt;
  const std::uint32_t kind = le16(bytes, 2);
  if ((kind != 1 && kind != 2) || le16(bytes, 4) == 0) return std::nullopt;
  const std::uint32_t size = le32(bytes, 6 + 8);
  const std::uint32_t offset = le32(bytes, 6 + 12);
  if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) return std::nullopt;
  const int width = bytes[6] == 0 ? 256 : bytes[6];
  const int height = bytes[7] == 0 ? 256 : bytes[7];
  return PictureSize{width, height};
}

std::string cannotShowText(std::string_view problem) {
  return "Impossibile mostrare l'immagine: " + std::string(problem);
}

std::optional<Edit> imageDataEdit(std::string_view text, const ResourceIndex& index,
                                  std::size_t position, const std::vector<std::uint8_t>& bytes) {
  const auto block = entryBlock(text, index, position);
  if (!block) return std::nullopt;
  const std::string_view old = block->of(text);
  const auto body = findImageBody(old);
  if (!body) return std::nullopt;
  auto encoded = encodeBitmap(bytes, old);
  if (!encoded) return std::nullopt;
  Edit edit;
  edit.label = kLabelEditImage;
  edit.splices.push_back(
      narrowedSplice(block->begin, old.substr(0, body->end), std::move(*encoded)));
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = edit.currentBefore;
  return edit;
}

bool editImageResource(UserInterface& ui, Document& doc, std::size_t position) {
  const ResourceType type = doc.index()[position].type;
  const bool bitmap = type == ResourceType::Bitmap;
  const std::string_view key = bitmap ? "BMP" : "ICO";
  ImageSource source = imageSource(doc, position);
  if (source.kind == ImageSource::Kind::Unreadable) {
    inform(ui, "Impossibile modificare l'immagine: " + source.problem +
                   ";Il testo della risorsa resta com'è.");
    return false;
  }
  const auto editor = configuredEditor(ui, key, "di immagini");
  if (!editor) return false;
  if (source.kind == ImageSource::Kind::File) {
    // The picture lives in its own file: the editor works on it there. The text does not
    // change either way; a program that did not start has been told.
    (void)runEditor(ui, *editor, key, source.file);
    return false;
  }
  const std::string work = workFolder().newFile(bitmap ? ".BMP" : ".ICO");
  writeWorkFile(work, std::string_view(reinterpret_cast<const char*>(source.bytes.data()),
                                       source.bytes.size()));
  const bool ran = runEditor(ui, *editor, key, work);
  // Image files are taken back byte for byte (no end-of-file mark is dropped).
  const FileRead back = readFileBytes(work);
  std::remove(work.c_str());
  if (!ran) return false;
  if (back.error != 0) throw CommandError(fileErrorRecord(back.error, kGenRead, work, "lettura"));
  if (back.bytes.empty()) {
    // An editor that crashed or was closed wrongly: the picture is not wiped.
    inform(ui, "L'editor ha lasciato vuoto il file dell'immagine.;L'immagine resta com'era.");
    return false;
  }
  const std::vector<std::uint8_t> bytes(back.bytes.begin(), back.bytes.end());
  const auto edit = imageDataEdit(doc.text(), doc.index(), position, bytes);
  return edit && doc.commit(*edit);
}

}  // namespace kolvre
