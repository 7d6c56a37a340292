// The corpus scripts as documents, for the tests that run a command over every script or every
// dialog of the corpus.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/script_file.h"
#include "support/corpus.h"

namespace kolvre::testing {

// Calls visit(doc, file) with each script of `files` loaded into a document; a script that
// cannot be read fails the test.
template <typename Visit>
void forEachCorpusDocument(const std::vector<std::string>& files, Visit&& visit) {
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const FileRead read = readWholeFile((kCorpusDir / file).string());
    ASSERT_EQ(read.error, 0);
    Document doc;
    doc.load("", read.bytes);
    visit(doc, file);
  }
}

// Calls visit(doc, position) for every dialog entry of every script of `files`.
template <typename Visit>
void forEachCorpusDialog(const std::vector<std::string>& files, Visit&& visit) {
  forEachCorpusDocument(files, [&](Document& doc, const std::string&) {
    for (std::size_t i = 0; i < doc.index().size(); ++i)
      if (doc.index()[i].type == ResourceType::Dialog) visit(doc, i);
  });
}

}  // namespace kolvre::testing
