// The Qt user interface against real processes, the clipboard and the settings file.
#include "platform/qt_user_interface.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <filesystem>

#include "document/resource_commands.h"
#include "support/recording_list.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::RecordingList;
using testing::TempDir;

// A stand-in for an external editor: a shell script in a folder whose name has a blank.
std::string makeEditor(const TempDir& dir, const std::string& body) {
  std::filesystem::create_directory(dir.file("my tools"));
  const std::string path = dir.file("my tools/edit it");
  dir.write("my tools/edit it", "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

TEST(QtRunAndWait, ReturnsTheExitCodeOrMinusOne) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  EXPECT_EQ(ui.runAndWait(makeEditor(dir, "exit 3"), {"x"}), 3);
  EXPECT_EQ(ui.runAndWait(dir.file("no such program"), {}), -1);
}

TEST(QtEditAsText, ARealEditorChangesTheResource) {
  TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const std::string editor =
      makeEditor(dir, "printf 'B ICON\\r\\n{\\r\\n \\047FF\\047\\r\\n}' > \"$1\"");
  dir.write("KOLVRE.INI", "[Edit]\nTXT=" + editor + "\n");
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  Document doc;
  doc.text = "A ICON\r\n{\r\n}";
  RecordingList list;
  AGGIORNA(doc, &list);
  EXPECT_TRUE(EDITRIS(ui, doc, list));
  EXPECT_EQ(doc.text, "B ICON\r\n{\r\n 'FF'\r\n}");
  EXPECT_EQ(list.row, 1);
  // The work file is gone.
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(e.path().filename().string().front(), '\x7F');
  std::filesystem::current_path(previous);
}

TEST(QtClipboard, ScriptBytesSurviveTheRoundTrip) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  ui.setScriptEncoding(TextEncoding::Windows1252);
  ui.setClipboardText("CIAO DIALOG \"perch\xE9 \x80\"");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("CIAO DIALOG \"perché €\""));
  EXPECT_EQ(ui.clipboardText(), "CIAO DIALOG \"perch\xE9 \x80\"");
  ui.setScriptEncoding(TextEncoding::Utf8);
  EXPECT_EQ(ui.clipboardText(), "CIAO DIALOG \"perch\xC3\xA9 \xE2\x82\xAC\"");
}

TEST(QtSettings, KeysAreReadAndWrittenOneAtATime) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  EXPECT_EQ(ui.readSetting("Parametri", "Maximized", "Sì"), "Sì");
  ui.writeSetting("Parametri", "Maximized", "No");
  EXPECT_EQ(ui.readSetting("parametri", "MAXIMIZED", "Sì"), "No");
}

}  // namespace
}  // namespace kolvre
