// The string tables and version resources of the corpus: every one reads; every text set to
// itself leaves the script as it is, and written afresh reads back the same; an edit changes
// that literal alone and the other strings read as before.
#include <gtest/gtest.h>

#include <iostream>

#include "base/text.h"
#include "messages/error_record.h"
#include "resources/string_tables.h"
#include "resources/version_info.h"
#include "support/corpus_documents.h"

namespace kolvre {
namespace {

// True when the bytes that differ between `before` and `after` lie within [begin, end) of
// `before`.
bool changedWithin(std::string_view before, std::string_view after, std::size_t begin,
                   std::size_t end) {
  const std::size_t head = commonHead(before, after);
  const std::size_t tail = commonTail(before, after, std::min(before.size(), after.size()) - head);
  return head >= begin && before.size() - tail <= end;
}

TEST(StringCorpus, EveryTableReadsRoundTripsAndTakesAnEditOfOneLiteral) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t tableCount = 0, stringCount = 0, versions = 0, values = 0, notWritable = 0;
  testing::forEachCorpusDocument(scripts, [&](Document& doc, const std::string&) {
    const StringContext context = stringContext(doc, nullptr);
    const std::string& text = doc.text();
    const std::vector<StringTable> tables = documentStringTables(doc, nullptr);
    for (const StringTable& table : tables) {
      ASSERT_EQ(table.problem, "") << "line " << lineNumberAt(text, table.begin);
      ++tableCount;
      const ScriptCharset charset = scriptCharsetAt(text, table.begin, context.utf16File);
      for (std::size_t e = 0; e < table.entries.size(); ++e) {
        const StringEntry& entry = table.entries[e];
        ++stringCount;
        EXPECT_TRUE(setStringText(text, table, e, entry.text.text, context).splices.empty());
        try {
          EXPECT_EQ(shownString(writtenString(entry.text.text, charset), charset), entry.text.text);
        } catch (const Refusal&) {
          ++notWritable;  // a character its code page lacks, from a byte left undefined in it
        }
      }
      if (table.entries.empty()) continue;
      // The middle string edited: that literal alone changes, the rest reads as before.
      const std::size_t middle = table.entries.size() / 2;
      const Edit edit = setStringText(text, table, middle, "Nuovo \"testo\"\t\\", context);
      const std::string after = applySplices(text, edit.splices);
      const WrittenText& old = table.entries[middle].text;
      EXPECT_TRUE(changedWithin(text, after, old.begin, old.end));
      // The edit stays inside the table: its statement keeps its place among the statements.
      const auto place = std::find_if(doc.statements().begin(), doc.statements().end(),
                                      [&](const Statement& s) { return s.begin == table.begin; }) -
                         doc.statements().begin();
      const StringTable again = readStringTable(
          after, readStatements(after).at(static_cast<std::size_t>(place)), context);
      ASSERT_EQ(again.entries.size(), table.entries.size());
      for (std::size_t e = 0; e < table.entries.size(); ++e) {
        EXPECT_EQ(again.entries[e].id, table.entries[e].id);
        EXPECT_EQ(again.entries[e].text.text,
                  e == middle ? "Nuovo \"testo\"\t\\" : table.entries[e].text.text);
      }
    }
    for (const Statement& statement : doc.statements()) {
      if (statement.listed != ResourceType::VersionInfo) continue;
      const VersionInfo info = readVersionInfo(text, statement, context);
      ASSERT_EQ(info.problem, "") << "line " << lineNumberAt(text, statement.begin);
      ++versions;
      for (std::size_t b = 0; b < info.blocks.size(); ++b)
        for (const VersionValue& value : info.blocks[b].values) {
          // A key again (in another branch of a conditional) is set where it first stands.
          const bool first =
              &value ==
              &*std::find_if(info.blocks[b].values.begin(), info.blocks[b].values.end(),
                             [&](const VersionValue& v) { return v.key.text == value.key.text; });
          if (!value.text || !first) continue;
          ++values;
          EXPECT_TRUE(setVersionValue(text, info, b, value.key.text, value.text->text, context)
                          .splices.empty());
          const Edit edit = setVersionValue(text, info, b, value.key.text, "9.9", context);
          EXPECT_TRUE(changedWithin(text, applySplices(text, edit.splices), value.text->begin,
                                    value.text->end));
        }
    }
  });
  std::cout << "[ strings ] " << tableCount << " string tables, " << stringCount << " strings ("
            << notWritable << " not writable in their code page); " << versions
            << " version resources, " << values << " text values\n";
  EXPECT_GT(stringCount, 0u);
}

}  // namespace
}  // namespace kolvre
