// The accelerator reader: rows of a table, their keys as shown, and the reasons a body does not
// read.
#include "resources/accelerators.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "messages/error_record.h"
#include "support/refusal.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

AcceleratorReading tableOf(const std::string& body) {
  const std::string text =
      "#define ID_COPY 100\r\n#define MY_KEY VK_TAB\r\nA ACCELERATORS\r\n"
      "BEGIN\r\n" +
      body + "END\r\n";
  SymbolTable symbols;
  readDefines(text, symbols);
  for (const Statement& s : readStatements(text))
    if (s.kind == StatementKind::Resource) return readAccelerators(text, s, &symbols, {});
  return {};
}

TEST(AcceleratorReader, KeysAreNamedWithTheirModifiers) {
  const struct {
    std::string_view row;
    std::string_view label;
    std::string_view options;
  } cases[] = {
      {"\"^C\", ID_COPY", "Ctrl+C", ""},
      {"\"^x\", 1", "Ctrl+X", ""},
      {"VK_F5, 1, VIRTKEY, CONTROL, SHIFT", "Ctrl+Maiusc+F5", "VIRTKEY SHIFT CONTROL"},
      {"VK_F24, 1, VIRTKEY, ALT, NOINVERT", "Alt+F24", "VIRTKEY NOINVERT ALT"},
      {"\"a\", 1", "a", ""},
      {"\"a\", 1, ASCII, ALT", "Alt+a", "ASCII ALT"},
      {"\"N\", 1, VIRTKEY, CONTROL", "Ctrl+N", "VIRTKEY CONTROL"},
      {"65, 1, VIRTKEY", "A", "VIRTKEY"},
      {"97, 1", "a", ""},
      {"0x2E, 1, VIRTKEY", "Canc", "VIRTKEY"},
      {"VK_NEXT, 1, VIRTKEY", "Pag giù", "VIRTKEY"},
      {"VK_ADD, 1, VIRTKEY", "Num +", "VIRTKEY"},
      {"MY_KEY, 1, VIRTKEY", "Tab", "VIRTKEY"},
      {"\" \", 1", "Spazio", ""},
      {"0xBA, 1, VIRTKEY", "Tasto 0xBA", "VIRTKEY"},
      {"VK_UNKNOWN, 1, VIRTKEY", "VK_UNKNOWN", "VIRTKEY"},
  };
  for (const auto& c : cases) {
    const AcceleratorReading table = tableOf(std::string(c.row) + "\r\n");
    ASSERT_EQ(table.problem, "") << c.row;
    ASSERT_EQ(table.rows.size(), 1u) << c.row;
    EXPECT_EQ(table.rows[0].label, c.label) << c.row;
    EXPECT_EQ(acceleratorOptionWords(table.rows[0].options), c.options) << c.row;
  }
}

TEST(AcceleratorReader, RowsKeepTheirIdsAsWritten) {
  const AcceleratorReading table =
      tableOf("  \"^C\", ID_COPY // copia\r\n#if 0\r\n  VK_F1, ID_HELP + 1, VIRTKEY\r\n#endif\r\n");
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[0].key, "\"^C\"");
  EXPECT_EQ(table.rows[0].idValue, 100u);
  EXPECT_EQ(table.rows[1].id, "ID_HELP + 1");
  EXPECT_FALSE(table.rows[1].idValue);
}

TEST(AcceleratorReader, ABodyThatDoesNotReadGivesTheLineAndNoRows) {
  const struct {
    std::string_view row;
    std::string_view reason;
  } cases[] = {
      {"\"ab\", 1", "Riga 6: il tasto \"ab\" non è un solo carattere."},
      {"VK_F1 1", "Riga 6: manca la virgola dopo il tasto VK_F1."},
      {"VK_F1, , VIRTKEY", "Riga 6: manca l'id dopo il tasto VK_F1."},
      {"VK_F1, 1, VIRTKEY, CTRL", "Riga 6: opzione sconosciuta «CTRL»."},
      {"*, 1", "Riga 6: «*» non è il tasto di un acceleratore."},
  };
  for (const auto& c : cases) {
    const AcceleratorReading table = tableOf("\"^A\", 1\r\n" + std::string(c.row) + "\r\n");
    EXPECT_TRUE(table.rows.empty()) << c.row;
    EXPECT_EQ(table.problem, c.reason) << c.row;
  }
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

// A script with one table whose body is `rows`; the edits are judged on the text they leave.
struct KeyTable {
  explicit KeyTable(const std::string& rows, bool keyNames = true)
      : text(
            "#define ID_COPY 100\r\n#define ID_CUT 101\r\n#define MY_KEY VK_TAB\r\n"
            "K ACCELERATORS\r\nBEGIN\r\n" +
            rows + "END\r\n") {
    readDefines(text, symbols);
    context = {&symbols, keyNames};
    for (const Statement& s : readStatements(text))
      if (s.kind == StatementKind::Resource) table = readAccelerators(text, s, &symbols, {});
  }
  // The body after `edit`, or the refusal's message.
  std::string after(
      const std::function<Edit(const std::string&, const AcceleratorReading&)>& edit) {
    std::string result;
    const std::string refused =
        testing::refusalOf([&] { result = applySplices(text, edit(text, table).splices); });
    if (!refused.empty()) return refused;
    const std::size_t from = result.find("BEGIN\r\n") + 7;
    return result.substr(from, result.rfind("END\r\n") - from);
  }
  std::string withKey(std::size_t row, std::string_view shown) {
    const auto key = parseAcceleratorKey(shown);
    if (!key) return "unreadable key";
    return after([&](const std::string& s, const AcceleratorReading& t) {
      return setAcceleratorKey(s, t, row, *key, context);
    });
  }

  std::string text;
  SymbolTable symbols;
  AcceleratorContext context;
  AcceleratorReading table;
};

TEST(AcceleratorKeyEdit, TheKeyIsWrittenAsTheRowWritesKeys) {
  const struct {
    std::string_view row;
    std::string_view key;
    std::string_view after;
  } cases[] = {
      // A virtual-key row: header names, quoted letters and digits, the modifiers as words.
      {"  VK_F5, 1, VIRTKEY\r\n", "Ctrl+Maiusc+F6", "  VK_F6, 1, VIRTKEY, CONTROL, SHIFT\r\n"},
      {"  VK_F5, 1, VIRTKEY\r\n", "Ctrl+Shift+O", "  \"O\", 1, VIRTKEY, CONTROL, SHIFT\r\n"},
      {"  \"N\", 1, VIRTKEY, CONTROL\r\n", "Canc", "  VK_DELETE, 1, VIRTKEY\r\n"},
      {"  \"N\",1,VIRTKEY,CONTROL,NOINVERT\r\n", "Ctrl+Alt+N",
       "  \"N\",1,VIRTKEY,CONTROL,ALT,NOINVERT\r\n"},
      {"  \"R\", 1, VIRTKEY, SHIFT, CONTROL, NOINVERT\r\n", "Ctrl+R",
       "  \"R\", 1, VIRTKEY, CONTROL, NOINVERT\r\n"},
      {"  \"H\", 1, VIRTKEY, CONTROL, NOINVERT\r\n", "Maiusc+H",
       "  \"H\", 1, VIRTKEY, SHIFT, NOINVERT\r\n"},
      {"  0x2E, 1, VIRTKEY\r\n", "Ins", "  0x2D, 1, VIRTKEY\r\n"},
      {"  0x2e, 1, VIRTKEY\r\n", "F1", "  0x70, 1, VIRTKEY\r\n"},
      {"  65, 1, VIRTKEY, ALT\r\n", "b", "  66, 1, VIRTKEY\r\n"},
      // Only the modifiers change: a key written with a symbol keeps it.
      {"  MY_KEY, 1, VIRTKEY\r\n", "Ctrl+Tab", "  MY_KEY, 1, VIRTKEY, CONTROL\r\n"},
      {"  MY_KEY, 1, VIRTKEY\r\n", "Tasto 0x99", "  0x99, 1, VIRTKEY\r\n"},
      // An ASCII row: the character, "^X" for Ctrl, the number where the row has one.
      {"  \"a\", 1\r\n", "b", "  \"b\", 1\r\n"},
      {"  \"a\", 1\r\n", "B", "  \"B\", 1\r\n"},
      {"  \"a\", 1\r\n", "Ctrl+K", "  \"^K\", 1\r\n"},
      {"  \"^C\", ID_COPY, ASCII\r\n", "\"^v\"", "  \"^V\", ID_COPY, ASCII\r\n"},
      {"  \"^C\", ID_COPY\r\n", "?", "  \"?\", ID_COPY\r\n"},
      {"  97, 1, ASCII\r\n", "Ctrl+B", "  2, 1, ASCII\r\n"},
      {"  97, 1, ASCII\r\n", "Tab", "  9, 1, ASCII\r\n"},
      {"  \"a\", 1, ALT\r\n", "Alt+z", "  \"z\", 1, ALT\r\n"},
      {"  \"a\", 1, ALT\r\n", "z", "  \"z\", 1\r\n"},
      // What the row's form cannot say is refused.
      {"  \"a\", 1\r\n", "Alt+b",
       "Il tasto Alt+B non si scrive in una riga ASCII: llvm-rc accetta ALT solo con VIRTKEY."},
      {"  \"^C\", 1\r\n", "Ctrl+Maiusc+C",
       "Il tasto Ctrl+Maiusc+C non si scrive in una riga ASCII: Maiusc è nel carattere stesso "
       "(\"A\" e \"a\"), o serve una riga VIRTKEY."},
      {"  \"a\", 1\r\n", "F5", "Il tasto F5 non è un carattere: la riga è ASCII, serve VIRTKEY."},
      {"  \"a\", 1\r\n", "Ctrl+1",
       "Il tasto Ctrl+1 non si scrive in una riga ASCII: con Ctrl ci vuole una lettera (\"^C\")."},
      {"  \"a\", 1\r\n", "\"\\\"",
       "Il tasto \\ non si scrive tra virgolette in una riga ASCII (llvm-rc non lo accetta)."},
      {"  VK_F5, 1, VIRTKEY\r\n", "?",
       "Il tasto ? non ha un codice di tasto virtuale: la riga è VIRTKEY."},
  };
  for (const auto& c : cases) {
    KeyTable table(std::string(c.row));
    ASSERT_EQ(table.table.problem, "") << c.row;
    EXPECT_EQ(table.withKey(0, c.key), c.after) << c.row << " <- " << c.key;
  }
}

TEST(AcceleratorKeyEdit, TheSameKeyChangesNothingAndKeyNamesNeedTheirHeader) {
  for (const std::string_view row :
       {"  VK_F5, 1, VIRTKEY, CONTROL, SHIFT\r\n", "  \"^C\", ID_COPY\r\n", "  97, 1\r\n",
        "  MY_KEY, 1, VIRTKEY // a symbol\r\n", "  \"c\", 1, VIRTKEY\r\n"}) {
    KeyTable table{std::string(row)};
    ASSERT_EQ(table.table.rows.size(), 1u);
    EXPECT_EQ(table.withKey(0, table.table.rows[0].label), row);
  }
  // Without a system header the names of the keys would not compile: a number stands in.
  KeyTable bare("  \"N\", 1, VIRTKEY\r\n", false);
  EXPECT_EQ(bare.withKey(0, "F5"), "  0x74, 1, VIRTKEY\r\n");
}

TEST(AcceleratorIdEdit, ANumberOrADefinedSymbolReplacesTheIdAlone) {
  KeyTable table("  VK_F5,  ID_COPY,  VIRTKEY // copia\r\n");
  const auto id = [&](std::string_view typed) {
    return table.after([&](const std::string& s, const AcceleratorReading& t) {
      return setAcceleratorId(s, t, 0, typed, table.context);
    });
  };
  EXPECT_EQ(id("ID_CUT"), "  VK_F5,  ID_CUT,  VIRTKEY // copia\r\n");
  EXPECT_EQ(id(" 0x40 "), "  VK_F5,  0x40,  VIRTKEY // copia\r\n");
  EXPECT_EQ(id("ID_CUT + 1"), "  VK_F5,  ID_CUT + 1,  VIRTKEY // copia\r\n");
  EXPECT_EQ(id("ID_COPY"), "  VK_F5,  ID_COPY,  VIRTKEY // copia\r\n");
  EXPECT_EQ(id("ID_PASTE"), "ID non valido: ID_PASTE non è un numero né un simbolo definito.");
  EXPECT_EQ(id("VIRTKEY"), "ID non valido: VIRTKEY.");
  EXPECT_EQ(id("\"x\""), "ID non valido: \"x\".");
  EXPECT_EQ(id(""), "ID non valido: .");
}

TEST(AcceleratorOptionsEdit, WordsKeptStayWordsGoneTakeTheirCommaNewOnesFollowTheirKin) {
  const struct {
    std::string_view row;
    std::string_view options;
    std::string_view after;
  } cases[] = {
      {"  \"a\", 1, NOINVERT\r\n", "VIRTKEY NOINVERT", "  \"a\", 1, VIRTKEY, NOINVERT\r\n"},
      {"  VK_F1,   1,   VIRTKEY\r\n", "VIRTKEY, NOINVERT", "  VK_F1,   1,   VIRTKEY, NOINVERT\r\n"},
      {"  VK_F1, 1, noinvert, VIRTKEY\r\n", "virtkey", "  VK_F1, 1, VIRTKEY\r\n"},
      {"  VK_F1, 1, VIRTKEY , SHIFT\r\n", "VIRTKEY", "  VK_F1, 1, VIRTKEY\r\n"},
      // A word written twice is no edit's business while it is wanted.
      {"  VK_F1, 1, VIRTKEY, VIRTKEY\r\n", "VIRTKEY NOINVERT",
       "  VK_F1, 1, VIRTKEY, VIRTKEY, NOINVERT\r\n"},
      {"  VK_F1, 1, VIRTKEY, SHIFT, SHIFT\r\n", "VIRTKEY", "  VK_F1, 1, VIRTKEY\r\n"},
      {"  \"^C\", 1\r\n", "ASCII", "  \"^C\", 1, ASCII\r\n"},
      {"  \"^C\", 1\r\n", "VIRTKEY",
       "La riga del tasto Ctrl+C non si scrive così: un tasto \"^X\" non va con VIRTKEY "
       "(llvm-rc la rifiuterebbe)."},
      {"  VK_F1, 1, VIRTKEY\r\n", "VIRTKEY ASCII",
       "La riga del tasto F1 non si scrive così: VIRTKEY e ASCII non stanno nella stessa riga "
       "(llvm-rc la rifiuterebbe)."},
      {"  VK_F1, 1, VIRTKEY, SHIFT\r\n", "SHIFT",
       "La riga del tasto Maiusc+F1 non si scrive così: ALT, SHIFT e CONTROL valgono solo con "
       "VIRTKEY (llvm-rc la rifiuterebbe)."},
      // A fault the row already has is no reason to refuse.
      {"  \"a\", 1, ALT\r\n", "ALT NOINVERT", "  \"a\", 1, ALT, NOINVERT\r\n"},
  };
  for (const auto& c : cases) {
    KeyTable table{std::string(c.row)};
    const auto options = parseAcceleratorOptions(c.options, nullptr);
    ASSERT_TRUE(options) << c.options;
    EXPECT_EQ(table.after([&](const std::string& s, const AcceleratorReading& t) {
      return setAcceleratorOptions(s, t, 0, *options);
    }),
              c.after)
        << c.row << " <- " << c.options;
  }
  std::string unknown;
  EXPECT_FALSE(parseAcceleratorOptions("VIRTKEY CTRL", &unknown));
  EXPECT_EQ(unknown, "CTRL");
}

TEST(AcceleratorRows, ANewRowTakesItsNeighboursColumnsAndForm) {
  const std::string aligned =
      "    VK_F1,          ID_COPY,                VIRTKEY, NOINVERT\r\n"
      "    \"H\",            ID_CUT,                 VIRTKEY, CONTROL, NOINVERT\r\n";
  KeyTable table(aligned);
  const auto inserted = [&](std::optional<std::size_t> after, std::string_view key,
                            std::string_view id) {
    return table.after([&](const std::string& s, const AcceleratorReading& t) {
      return insertAccelerator(s, t, after, *parseAcceleratorKey(key), id, table.context);
    });
  };
  EXPECT_EQ(inserted(0, "Ctrl+Maiusc+F5", "ID_CUT"),
            "    VK_F1,          ID_COPY,                VIRTKEY, NOINVERT\r\n"
            "    VK_F5,          ID_CUT,                 VIRTKEY, CONTROL, SHIFT, NOINVERT\r\n"
            "    \"H\",            ID_CUT,                 VIRTKEY, CONTROL, NOINVERT\r\n");
  EXPECT_EQ(inserted(std::nullopt, "x", "7"),
            "    \"X\",            7,                      VIRTKEY, NOINVERT\r\n" + aligned);
  EXPECT_EQ(inserted(1, "F2", "NOPE"),
            "ID non valido: NOPE non è un numero né un simbolo definito.");

  // An ASCII neighbour: its form where the key is a character, VIRTKEY where it is not.
  KeyTable ascii("\t\"^C\",ID_COPY // copia\r\n");
  const auto asciiInserted = [&](std::string_view key) {
    return ascii.after([&](const std::string& s, const AcceleratorReading& t) {
      return insertAccelerator(s, t, 0, *parseAcceleratorKey(key), "ID_CUT", ascii.context);
    });
  };
  EXPECT_EQ(asciiInserted("Ctrl+X"), "\t\"^C\",ID_COPY // copia\r\n\t\"^X\",ID_CUT\r\n");
  EXPECT_EQ(asciiInserted("Maiusc+Canc"),
            "\t\"^C\",ID_COPY // copia\r\n\tVK_DELETE,ID_CUT,VIRTKEY,SHIFT\r\n");

  // An empty table: a line of its own after the opener.
  KeyTable empty("");
  EXPECT_EQ(empty.after([&](const std::string& s, const AcceleratorReading& t) {
    return insertAccelerator(s, t, std::nullopt, *parseAcceleratorKey("F3"), "1", empty.context);
  }),
            "    VK_F3, 1, VIRTKEY\r\n");
}

TEST(AcceleratorRows, ARowGoesWithItsLineOrAloneWhereItSharesOne) {
  KeyTable table("  VK_F1, 1, VIRTKEY // uno\r\n  VK_F2, 2, VIRTKEY\r\n");
  EXPECT_EQ(table.after([&](const std::string& s, const AcceleratorReading& t) {
    return deleteAccelerator(s, t, 0);
  }),
            "  VK_F2, 2, VIRTKEY\r\n");
  const std::string oneLine = "L ACCELERATORS { VK_F1, 1, VIRTKEY }\r\n";
  const AcceleratorReading compact =
      readAccelerators(oneLine, readStatements(oneLine).front(), nullptr, {});
  EXPECT_EQ(applySplices(oneLine, deleteAccelerator(oneLine, compact, 0).splices),
            "L ACCELERATORS { }\r\n");
}

TEST(AcceleratorRows, ATableTheTreeReadsOnlyInPartIsNotEdited) {
  KeyTable broken("  VK_F1, 1, VIRTKEY\r\n  VK_F2 2\r\n");
  EXPECT_EQ(acceleratorTableProblem(broken.text, broken.table),
            "Riga 7: manca la virgola dopo il tasto VK_F2.");
  // Two rows on one line compile, but the tree reads them as one.
  KeyTable shared("  VK_F2, 2, VIRTKEY  VK_F3, 3, VIRTKEY\r\n");
  EXPECT_EQ(acceleratorTableProblem(shared.text, shared.table),
            "Riga 6: la tabella si legge solo in parte; si modifica come testo.");
  EXPECT_EQ(shared.withKey(0, "F4"), acceleratorTableProblem(shared.text, shared.table));
  KeyTable fine("  VK_F1, 1, VIRTKEY\r\n#ifdef X\r\n  VK_F2, 2, VIRTKEY\r\n#endif\r\n");
  EXPECT_EQ(acceleratorTableProblem(fine.text, fine.table), "");
}

TEST(AcceleratorRows, AKeyTwiceInATableIsFoundWithTheRowThatHasItFirst) {
  KeyTable table(
      "  \"C\", 1, VIRTKEY, CONTROL\r\n"
      "  \"^C\", 2\r\n"
      "  VK_F5, 3, VIRTKEY\r\n"
      "  0x43, 4, CONTROL, VIRTKEY\r\n"
      "  VK_F5, 5, VIRTKEY, SHIFT\r\n"
      "  3, 6, ASCII\r\n");
  const auto earlier = duplicateAcceleratorKeys(table.table);
  const std::vector<std::optional<std::size_t>> expected{
      std::nullopt, std::nullopt, std::nullopt, 0, std::nullopt, 1};
  EXPECT_EQ(earlier, expected);
  EXPECT_EQ(duplicateAcceleratorMessage("Ctrl+C", "ID_COPY", 5),
            "Tasto Ctrl+C già usato dall'acceleratore ID_COPY alla riga 5.");
}

TEST(AcceleratorKeys, KeysAsShownReadBack) {
  for (std::uint32_t code = 1; code < 0x100; ++code) {
    const std::string name = virtualKeyName(code);
    const auto key = parseAcceleratorKey("Ctrl+" + name);
    ASSERT_TRUE(key) << name;
    EXPECT_EQ(key->modifiers, kAccelControl) << name;
    EXPECT_EQ(key->virtualKey, code) << name;
  }
  EXPECT_EQ(parseAcceleratorKey("Ctrl++")->virtualKey, 0xBBu);
  EXPECT_EQ(parseAcceleratorKey("shift+alt+vk_f5")->modifiers, kAccelShift | kAccelAlt);
  EXPECT_EQ(parseAcceleratorKey("\"^c\"")->modifiers, kAccelControl);
  EXPECT_EQ(parseAcceleratorKey("a")->character, 'a');
  for (const std::string_view none : {"", "Ctrl+", "Tasto 0x100", "\"ab\"", "Fx", "Ctrl+Nulla"})
    EXPECT_FALSE(parseAcceleratorKey(none)) << none;
}

}  // namespace
}  // namespace kolvre
