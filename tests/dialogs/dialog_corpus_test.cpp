// Every dialog of the corpus of real scripts through the reader and the writer: the written
// block reads as the same model, a second store writes the same text, and no line of the
// original dialog is lost: each one is in the written block, or is a statement the model reads
// and writes afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "base/text.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "document/document.h"
#include "document/resource_edits.h"
#include "document/script_file.h"
#include "support/corpus.h"
#include "support/corpus_documents.h"

namespace kolvre {
namespace {

struct Tally {
  int dialogs = 0;
  int controls = 0;
  int shortStatements = 0;
  int unreadable = 0;
  int unchanged = 0;  // written back byte for byte
  int moved = 0;      // controls moved alone
};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool beginsWithWord(std::string_view text, std::string_view word) {
  return text.size() >= word.size() && equalsIgnoringCase(text.substr(0, word.size()), word) &&
         (text.size() == word.size() || text[word.size()] == ' ' || text[word.size()] == '\t' ||
          text[word.size()] == '"');
}

// A line of a statement the model reads and the writer writes afresh: the header, STYLE,
// CAPTION, FONT, CONTROL, the body's delimiters, or a line that continues one of them.
bool regenerated(std::string_view line, std::string_view previous, std::string_view name) {
  for (std::string_view word : {"STYLE", "CAPTION", "FONT", "CONTROL", "BEGIN", "END"})
    if (beginsWithWord(line, word)) return true;
  return line.starts_with(name) || line == "{" || line == "}" || line.starts_with('|') ||
         line.starts_with(',') || previous.ends_with(',') || previous.ends_with('|');
}

// The first word of a trimmed line: up to a blank, a tab, a quote or a comma.
std::string_view firstWord(std::string_view line) {
  return line.substr(0, std::min(line.find_first_of(" \t\","), line.size()));
}

bool isShortKeyword(std::string_view word) {
  for (const ShortStatement& row : kShortStatements)
    if (equalsIgnoringCase(word, row.keyword)) return true;
  return false;
}

// The body's control statements: every CONTROL or short statement is a control, and an
// unchanged store writes each short statement's lines exactly as they stood.
void checkControls(std::string_view original, const DialogModel& dialog, const std::string& written,
                   Tally& tally) {
  const std::size_t body = original.find("\r\n", original.find(dialog.bodyOpen));
  int statements = 0;
  for (std::size_t at = body + 2; at < original.size();) {
    const std::size_t end = std::min(original.find("\r\n", at), original.size());
    const std::string_view raw = original.substr(at, end - at);
    const std::string_view word = firstWord(trimmed(raw));
    if (equalsIgnoringCase(word, "CONTROL") || isShortKeyword(word)) ++statements;
    if (isShortKeyword(word)) {
      ++tally.shortStatements;
      EXPECT_NE(written.find(std::string(raw) + "\r\n"), std::string::npos) << "changed: " << raw;
    }
    at = end + 2;
  }
  EXPECT_EQ(static_cast<int>(dialog.controls.size()), statements) << original;
  tally.controls += static_cast<int>(dialog.controls.size());
}

// Each control moved one unit to the right, alone: the store changes that control's x and
// nothing else (a number in place of the number or expression it had).
void checkEachControlMoved(const std::string& original, const DialogModel& dialog,
                           const std::string& name, Tally& tally) {
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    DialogModel moved = dialog;
    DialogControl& c = moved.controls[i];
    DialogUnitRect units = toDialogUnits(c.rect, kFixedBaseUnits);
    ++units.x;
    c.rect.x = toPixels(units, kFixedBaseUnits).x;
    const std::string written = dialogBlock(moved, name);
    const std::size_t head = commonHead(original, written);
    const std::size_t tail =
        commonTail(original, written, std::min(original.size(), written.size()) - head);
    const std::string_view before =
        std::string_view(original).substr(head, original.size() - tail - head);
    const std::string_view after =
        std::string_view(written).substr(head, written.size() - tail - head);
    const bool number =
        !after.empty() && after.find_first_not_of("-0123456789") == std::string_view::npos;
    EXPECT_TRUE(number && before.find_first_of(",\r\n") == std::string_view::npos)
        << "control " << i << ": '" << before << "' became '" << after << "'\n"
        << written;
    ++tally.moved;
  }
}

void checkDialog(const Document& doc, std::size_t position, Tally& tally) {
  const std::string& name = doc.index()[position].name;
  SCOPED_TRACE(name);
  const auto block = entryBlock(doc.text(), doc.index(), position);
  if (!block) return;
  ++tally.dialogs;
  const DialogReading first = readDialog(block->of(doc.text()));
  if (first.failure != DialogFailure::None) {
    ++tally.unreadable;
    return;
  }
  const std::string original(block->of(doc.text()).substr(0, first.dialog.blockLength));
  const std::string written = dialogBlock(first.dialog, name);
  if (written == original) ++tally.unchanged;
  checkControls(original, first.dialog, written, tally);
  // The writer adds no LANGUAGE statement: the dialog stays in the language around it.
  if (original.find("LANGUAGE") == std::string::npos) {
    EXPECT_EQ(written.find("LANGUAGE"), std::string::npos) << written;
  }

  EXPECT_EQ(written, original);
  checkEachControlMoved(original, first.dialog, name, tally);

  DialogReading second = readDialog(written);
  ASSERT_EQ(second.failure, DialogFailure::None) << written;
  EXPECT_EQ(second.notices, first.notices);
  EXPECT_EQ(second.dialog.blockLength, written.size());
  second.dialog.blockLength = first.dialog.blockLength;
  EXPECT_TRUE(second.dialog == first.dialog) << original << "\n---\n" << written;
  EXPECT_EQ(dialogBlock(second.dialog, name), written);

  std::string_view previous;
  for (std::size_t at = 0; at <= original.size();) {
    const std::size_t end = std::min(original.find("\r\n", at), original.size());
    const std::string_view line = trimmed(std::string_view(original).substr(at, end - at));
    if (!line.empty() && written.find(line) == std::string::npos) {
      EXPECT_TRUE(regenerated(line, previous, name)) << "lost: " << line << "\n---\n" << written;
    }
    previous = line;
    at = end + 2;
  }
}

TEST(DialogCorpus, EveryDialogIsWrittenBackWithoutLosingALine) {
  const std::vector<std::string> files = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(files.empty() ? std::string() : files.front());
  Tally tally;
  testing::forEachCorpusDialog(
      files, [&](const Document& doc, std::size_t i) { checkDialog(doc, i, tally); });
  std::cout << "[ corpus   ] " << tally.dialogs << " dialogs, " << tally.unreadable
            << " not dialogs that can be read, " << tally.controls << " controls ("
            << tally.shortStatements << " short statements), " << tally.unchanged
            << " written back byte for byte, " << tally.moved << " controls moved alone\n";
  RecordProperty("dialogs", tally.dialogs);
  RecordProperty("unchanged", tally.unchanged);
  EXPECT_GT(tally.dialogs - tally.unreadable, 200);
  EXPECT_GT(tally.shortStatements, 2500);
}

}  // namespace
}  // namespace kolvre
