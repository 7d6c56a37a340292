// Find over the corpus: every script is searched without a fault, every resource is found by
// its name, every string by its text, and the controls a match names are the designer's.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "dialogs/dialog_reader.h"
#include "document/resource_edits.h"
#include "resources/find.h"
#include "resources/string_tables.h"
#include "support/corpus_documents.h"

namespace kolvre {
namespace {

bool holds(const std::vector<FindMatch>& matches, FoundIn in, const ResourceKey& key) {
  return std::any_of(matches.begin(), matches.end(),
                     [&](const FindMatch& m) { return m.in == in && m.resource == key; });
}

TEST(FindCorpus, EveryResourceByItsNameAndEveryStringByItsText) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t names = 0, strings = 0;
  testing::forEachCorpusDocument(scripts, [&](Document& doc, const std::string&) {
    const SymbolTable symbols = scriptSymbols(doc.text(), {});
    // A name looked for once, whatever its letter case: it finds every resource of that name.
    std::set<std::string> asked;
    for (std::size_t i = 0; i < doc.index().size(); ++i) {
      const IndexEntry& entry = doc.index()[i];
      if (entry.type == ResourceType::StringTable) continue;
      const std::string shown = doc.display(entry.name);
      if (!asked.insert(upperAscii(shown)).second) continue;
      const std::vector<FindMatch> matches = findInResources(doc, &symbols, shown);
      for (std::size_t j = i; j < doc.index().size(); ++j)
        if (doc.index()[j].type != ResourceType::StringTable &&
            sameName(doc.index()[j].name, entry.name)) {
          EXPECT_TRUE(holds(matches, FoundIn::Name, keyAt(doc.index(), j))) << shown;
          ++names;
        }
      for (const FindMatch& m : matches) {
        EXPECT_LE(m.matchBegin + m.matchLength, m.context.size());
        EXPECT_LT(m.offset, doc.text().size());
        // The key names the entry at its place, counted as keyAt counts namesakes.
        const auto at =
            std::find_if(doc.index().begin(), doc.index().end(),
                         [&](const IndexEntry& e) { return e.offset == m.resourceOffset; });
        ASSERT_NE(at, doc.index().end());
        EXPECT_EQ(m.resource,
                  keyAt(doc.index(), static_cast<std::size_t>(at - doc.index().begin())));
      }
    }
    // Each string table's strings, each by its own text (the first 30 characters of it).
    for (const StringTable& table : documentStringTables(doc, &symbols)) {
      const auto position =
          std::find_if(doc.index().begin(), doc.index().end(),
                       [&](const IndexEntry& e) { return e.offset == table.begin; });
      ASSERT_NE(position, doc.index().end());
      const ResourceKey key =
          keyAt(doc.index(), static_cast<std::size_t>(position - doc.index().begin()));
      for (std::size_t k = 0; k < table.entries.size(); k += 7) {
        const std::string& text = table.entries[k].text.text;
        if (text.empty() || text.find('\0') != std::string::npos) continue;
        const std::vector<FindMatch> matches = findInResources(doc, &symbols, text.substr(0, 30));
        EXPECT_TRUE(std::any_of(matches.begin(), matches.end(), [&](const FindMatch& m) {
          return m.in == FoundIn::StringText && m.resource == key && m.stringEntry == k &&
                 m.offset == table.entries[k].text.begin;
        })) << text;
        ++strings;
      }
    }
  });
  if (!scripts.empty()) {
    EXPECT_GT(names, 500u);
    EXPECT_GT(strings, 200u);
  }
}

TEST(FindCorpus, TheControlsOfTheMatchesAreTheDesignersControls) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t dialogs = 0;
  testing::forEachCorpusDialog(scripts, [&](Document& doc, std::size_t position) {
    const auto block = entryBlock(doc.statements(), doc.index(), position);
    ASSERT_TRUE(block);
    const DialogReading reading = readDialog(doc.text().substr(block->begin));
    if (reading.failure != DialogFailure::None) return;
    // Every control statement in turn: those the designer has, in its order.
    const std::size_t statement = static_cast<std::size_t>(
        std::find_if(doc.statements().begin(), doc.statements().end(),
                     [&](const Statement& s) { return s.begin == block->begin; }) -
        doc.statements().begin());
    const StatementTree& tree = doc.tree().statementTree(doc.text(), statement);
    const std::size_t body = childOfKind(tree, 0, NodeKind::Body);
    ASSERT_NE(body, 0u);
    std::vector<std::size_t> designer;
    for (std::size_t k = 0; k < childrenOfKind(tree, body, NodeKind::Control).size(); ++k)
      if (const auto control = designerControl(doc, block->begin, k, nullptr))
        designer.push_back(*control);
    ASSERT_EQ(designer.size(), reading.dialog.controls.size()) << doc.index()[position].name;
    for (std::size_t k = 0; k < designer.size(); ++k) EXPECT_EQ(designer[k], k);
    ++dialogs;
  });
  if (!scripts.empty()) {
    EXPECT_GT(dialogs, 250u);
  }
}

}  // namespace
}  // namespace kolvre
