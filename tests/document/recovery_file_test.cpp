#include "document/recovery_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/temp_dir.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string lines(int from, int count) {
  std::string out;
  for (int i = from; i < from + count; ++i)
    out += "LINE" + std::to_string(i) + " DIALOG 0, 0, 10, 10\r\n{\r\n}\r\n";
  return out;
}

RecoveryRecord recordFor(std::string_view base, std::string_view text) {
  RecoveryRecord record;
  record.script = "/home/anna/progetti/finestra.rc";
  record.pid = 4242;
  record.time = 1714550000;
  setRecoveryData(record, base, text);
  return record;
}

TEST(RecoveryFile, WholeTextsAndDifferencesRoundTrip) {
  EXPECT_EQ(fnv1a64(""), 0xcbf29ce484222325ULL);
  EXPECT_EQ(fnv1a64("foobar"), 0x85944171f73967e8ULL);

  const std::string base = lines(0, 200);
  std::string renamed = base;
  renamed.replace(renamed.find("LINE100"), 7, "RENAMED");
  const RecoveryRecord diff = recordFor(base, renamed);
  EXPECT_FALSE(diff.whole);
  EXPECT_EQ(diff.bytes, "RENAMED");  // only the middle is written
  EXPECT_EQ(diff.prefix, base.find("LINE100"));

  const RecoveryRecord whole = recordFor(base, "Z ICON \"z.ico\"\r\n");  // nothing in common
  EXPECT_TRUE(whole.whole);
  const std::string bytes = encodeRecovery(whole);
  EXPECT_EQ(bytes.substr(0, 69),
            "KOLVRE-RECOVERY 1\nscript 31\n/home/anna/progetti/finestra.rc\npid 4242\n");
  EXPECT_TRUE(bytes.ends_with("whole 16\nZ ICON \"z.ico\"\r\n\nend\n")) << bytes;

  for (const std::string& text :
       {renamed, base + lines(500, 2), lines(500, 2) + base, base.substr(100),
        base.substr(0, 300) + base.substr(500), std::string(), std::string("Z"), base}) {
    const RecoveryRecord record = recordFor(base, text);
    const std::optional<RecoveryRecord> back = decodeRecovery(encodeRecovery(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, record);
    const RecoveredText recovered = recoveredText(*back, base);
    EXPECT_EQ(recovered.check, RecoveryCheck::Ok);
    EXPECT_EQ(recovered.text, text);
  }
  // Over an empty base (a new file) the text is whole.
  EXPECT_EQ(recoveredText(recordFor("", base), "").text, base);
}

TEST(RecoveryFile, TruncatedForeignAndOutOfBoundsFilesAreNotRead) {
  std::string text = lines(0, 30);
  text.insert(900, "NEW ICON \"n.ico\"\r\n");
  for (const RecoveryRecord& record : {recordFor(lines(0, 30), text), recordFor("", text)}) {
    const std::string bytes = encodeRecovery(record);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      EXPECT_FALSE(decodeRecovery(std::string_view(bytes).substr(0, size))) << size;
    }
    EXPECT_FALSE(decodeRecovery(bytes + "\n"));
  }

  const std::string good = encodeRecovery(recordFor(lines(0, 3), lines(0, 4)));
  const auto changed = [&](std::string_view from, std::string_view to) {
    std::string bytes = good;
    return bytes.replace(bytes.find(from), from.size(), to);
  };
  const std::string head = good.substr(0, good.find("base "));
  const std::string big = "18446744073709551615";
  const std::string zeros = " 0000000000000000\n";
  for (const std::string& bytes : {
           std::string(),
           std::string("[Parametri]\r\nMaximized=No\r\n"),
           std::string(300, '\0'),
           std::string("KOLVRE-RECOVERY 2\nscript 1\n/\npid 1\n"),
           changed("pid 4242", "pid 0"),
           changed("pid 4242", "pid 04242"),
           changed("pid 4242", "pid " + big),
           changed("script 31", "script 32"),
           changed("script 31", "script " + big),
           changed("base ", "base  "),
           changed("diff ", "whole "),
           changed("\nend\n", "\nEND\n"),
           // Lengths beyond the file, a difference wider than its base, hashes out of form.
           head + "base 5" + zeros + "text 5" + zeros + "whole " + big + "\nabcde\nend\n",
           head + "base 5" + zeros + "text 5" + zeros + "diff 3 3 0\n\nend\n",
           head + "base " + big + zeros + "text 0" + zeros + "diff " + big + " 1 0\n\nend\n",
           head + "base 5" + zeros + "text 5 000000000000000G\nwhole 5\nabcde\nend\n",
       })
    EXPECT_FALSE(decodeRecovery(bytes)) << bytes;
}

TEST(RecoveryFile, AChangedBaseOrDamagedDataGivesNoText) {
  const std::string base = lines(0, 40);
  std::string text = base;
  text.replace(text.find("LINE7 "), 6, "SEVEN ");
  const RecoveryRecord record = recordFor(base, text);
  for (const std::string& other : {base + " ", std::string(), "X" + base.substr(1)})
    EXPECT_EQ(recoveredText(record, other).check, RecoveryCheck::BaseChanged);

  std::string bytes = encodeRecovery(record);
  bytes[bytes.find("SEVEN")] = 'Z';
  const std::optional<RecoveryRecord> damaged = decodeRecovery(bytes);
  ASSERT_TRUE(damaged);
  EXPECT_EQ(recoveredText(*damaged, base).check, RecoveryCheck::Damaged);
  EXPECT_TRUE(recoveredText(*damaged, base).text.empty());
  // A record made by hand with a difference wider than the base reads nothing outside it.
  RecoveryRecord wide = record;
  wide.suffix = base.size();
  EXPECT_EQ(recoveredText(wide, base).check, RecoveryCheck::Damaged);
}

TEST(RecoveryFile, OneFilePerScriptInAnOwnerOnlyStateFolder) {
  const std::string a = recoveryFilePath("/state/kolvre", "/home/anna/a.rc");
  EXPECT_TRUE(std::regex_match(a, std::regex("/state/kolvre/[0-9a-f]{16}\\.rec"))) << a;
  EXPECT_EQ(recoveryFilePath("/state/kolvre", "/home/anna/x/../a.rc"), a);
  EXPECT_NE(recoveryFilePath("/state/kolvre", "/home/anna/b.rc"), a);
  EXPECT_EQ(recoveryFilePath("", "/home/anna/a.rc"), "");

  TempDir dir;
  const std::string folder = (dir.path() / "state" / "kolvre").string();
  const std::string path = recoveryFilePath(folder, "/x/a.rc");
  ASSERT_EQ(writeRecoveryFile(path, "first"), 0);
  ASSERT_EQ(writeRecoveryFile(path, "second"), 0);
  EXPECT_EQ(TempDir::read(path), "second");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  EXPECT_EQ(fs::status(dir.path() / "state").permissions() & fs::perms::all, fs::perms::owner_all);
  dir.write("file", "x");
  EXPECT_NE(writeRecoveryFile((dir.path() / "file" / "kolvre" / "a.rec").string(), "x"), 0);

  // Day first, whatever the time zone.
  EXPECT_TRUE(
      std::regex_match(recoveryTimeText(1716638400), std::regex(R"(2[456]/05/2024 \d\d:\d\d)")));
}

}  // namespace
}  // namespace kolvre
