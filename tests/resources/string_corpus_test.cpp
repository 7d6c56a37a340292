// The string tables and version resources of the corpus: every one reads; every text set to
// itself leaves the script as it is, and written afresh reads back the same; an edit changes
// that literal alone and the other strings read as before.
#include <gtest/gtest.h>

#include <array>
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

// Every fixed field of the corpus set to itself (as written, and as the numbers it reads as)
// changes nothing; set to another value it changes within its own tokens and reads back as that
// value. Every value of a block: one added after it and it removed leave the other values as
// they read.
TEST(StringCorpus, EveryVersionFieldAndValueEditStaysInItsOwnTokens) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t fields = 0, changed = 0, readOnly = 0, added = 0;
  testing::forEachCorpusDocument(scripts, [&](Document& doc, const std::string&) {
    const StringContext context = stringContext(doc, nullptr);
    const std::string& text = doc.text();
    for (std::size_t place = 0; place < doc.statements().size(); ++place) {
      const Statement& statement = doc.statements()[place];
      if (statement.listed != ResourceType::VersionInfo) continue;
      const VersionInfo info = readVersionInfo(text, statement, context);
      ASSERT_EQ(info.problem, "");
      const auto readAgain = [&](const Edit& edit) {
        const std::string after = applySplices(text, edit.splices);
        return std::pair(after, readVersionInfo(after, readStatements(after).at(place), context));
      };
      for (std::size_t f = 0; f < info.fields.size(); ++f) {
        const VersionField& field = info.fields[f];
        SCOPED_TRACE(field.keyword + " " + field.value);
        ++fields;
        EXPECT_TRUE(setVersionField(text, info, f, field.value, context).splices.empty());
        const bool version = fixedFieldKind(field.keyword) == FixedFieldKind::Version;
        std::string wanted = "9.8.7.6";
        if (version) {
          if (const auto numbers = versionNumbers(info, f, context)) {
            const std::string same =
                std::to_string((*numbers)[0]) + "." + std::to_string((*numbers)[1]) + "." +
                std::to_string((*numbers)[2]) + "." + std::to_string((*numbers)[3]);
            EXPECT_TRUE(setVersionField(text, info, f, same, context).splices.empty());
          }
        } else if (const auto value = fixedFieldValue(info, f, context)) {
          EXPECT_TRUE(
              setVersionField(text, info, f, std::to_string(*value), context).splices.empty());
          wanted = std::to_string(*value ^ 0x2);
        } else {
          wanted = "2";
        }
        if (!field.readOnly.empty()) {
          ++readOnly;
          continue;
        }
        const Edit edit = setVersionField(text, info, f, wanted, context);
        ASSERT_FALSE(edit.splices.empty());
        const auto [after, again] = readAgain(edit);
        EXPECT_TRUE(changedWithin(text, after, field.span.begin, field.span.end));
        ASSERT_EQ(again.fields.size(), info.fields.size());
        if (version)
          EXPECT_EQ(versionNumbers(again, f, context), (std::array<std::uint16_t, 4>{9, 8, 7, 6}));
        else
          EXPECT_EQ(fixedFieldValue(again, f, context), std::stoul(wanted));
        ++changed;
      }
      for (const std::size_t b : info.stringBlocks()) {
        const VersionBlock& block = info.blocks[b];
        for (std::size_t v = 0; v < block.values.size(); ++v) {
          if (block.values[v].cutShort) continue;
          const auto [after, again] =
              readAgain(insertVersionValue(text, info, b, v, "KolvreProva", "nuovo", context));
          ASSERT_EQ(again.problem, "");
          ASSERT_EQ(again.blocks[b].values.size(), block.values.size() + 1);
          EXPECT_EQ(again.blocks[b].values[v + 1].key.text, "KolvreProva");
          const auto [removed, less] = readAgain(deleteVersionValue(text, info, b, v));
          ASSERT_EQ(less.problem, "");
          ASSERT_EQ(less.blocks[b].values.size(), block.values.size() - 1);
          for (std::size_t w = 0; w + 1 < block.values.size(); ++w)
            EXPECT_EQ(less.blocks[b].values[w].key.text, block.values[w < v ? w : w + 1].key.text);
          ++added;
        }
      }
    }
  });
  std::cout << "[ version ] " << fields << " fixed fields set to themselves, " << changed
            << " changed (" << readOnly << " read-only); " << added
            << " values added after and removed\n";
  EXPECT_GT(changed, 0u);
}

}  // namespace
}  // namespace kolvre
