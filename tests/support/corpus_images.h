// The inline images of the corpus of real scripts, one after the other.
#pragma once

#include <functional>

#include "document/document.h"
#include "document/image_resources.h"
#include "support/corpus.h"

namespace kolvre::testing {

// Calls `each` with every bitmap, icon and cursor of the corpus that holds its data inline:
// the script's file name, the document, the entry's place and its picture.
inline void forEachCorpusInlineImage(
    const std::function<void(const std::string&, const Document&, std::size_t, const ImageSource&)>&
        each) {
  for (const std::string& file : corpusScripts()) {
    Document doc;
    const std::string path = (kCorpusDir / file).string();
    doc.load(path, readWholeFile(path).bytes);
    for (std::size_t i = 0; i < doc.index().size(); ++i) {
      const ResourceType type = doc.index()[i].type;
      if (type != ResourceType::Bitmap && type != ResourceType::Icon &&
          type != ResourceType::Cursor)
        continue;
      const ImageSource source = imageSource(doc, i);
      if (source.kind == ImageSource::Kind::Inline) each(file, doc, i, source);
    }
  }
}

}  // namespace kolvre::testing
