// Changes a document's whole text through commit, as a test's stand-in for some command.
#pragma once

#include <string>

#include "document/document.h"

namespace kolvre::testing {

inline bool replaceText(Document& doc, std::string text) {
  Edit edit;
  edit.label = "Test";
  edit.splices.push_back({0, doc.text().size(), std::move(text)});
  return doc.commit(edit);
}

}  // namespace kolvre::testing
