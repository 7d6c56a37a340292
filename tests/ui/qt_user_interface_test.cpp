// The Qt user interface against real processes, the clipboard and the settings file.
#include "ui/qt_user_interface.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>

#include "document/resource_commands.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

// A stand-in for an external editor: a shell script in a folder whose name has a blank.
std::string makeEditor(const TempDir& dir, const std::string& body) {
  std::filesystem::create_directory(dir.file("my tools"));
  const std::string path = dir.file("my tools/edit it");
  dir.write("my tools/edit it", "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

// The Qt user interface with its message boxes recorded instead of shown.
class RecordingQtUi : public QtUserInterface {
 public:
  using QtUserInterface::QtUserInterface;
  int messageBox(std::string_view text, MessageKind, std::string_view) override {
    messages.emplace_back(text);
    return kIdOk;
  }
  std::vector<std::string> messages;
};

TEST(QtSettings, ASettingsFileThatCannotBeWrittenIsToldOnce) {
  TempDir dir;
  dir.write("a file", "");
  const std::string file = dir.file("a file/KOLVRE.INI");  // under a file: never a folder
  RecordingQtUi ui(file);
  ui.writeSetting("Parametri", "Top", "10");
  ui.writeSettings("Parametri", {{"Left", "5"}, {"Width", "300"}});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Impossibile scrivere il file delle impostazioni " + file +
                                ": le scelte di questa sessione non saranno ricordate.");
  RecordingQtUi fine(dir.file("KOLVRE.INI"));
  fine.writeSetting("Parametri", "Top", "10");
  EXPECT_TRUE(fine.messages.empty());
  EXPECT_EQ(fine.readSetting("Parametri", "Top", ""), "10");
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
  doc.load("", "A ICON\r\n{\r\n}");
  EXPECT_TRUE(editResourceAsText(ui, doc, 0));
  EXPECT_EQ(doc.text(), "B ICON\r\n{\r\n 'FF'\r\n}");
  EXPECT_EQ(doc.undoLabel(), "Modifica come testo");
  // The work file is gone.
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(e.path().filename().string().front(), '\x7F');
  std::filesystem::current_path(previous);
}

TEST(QtRunAndWait, TheMainWindowIsHiddenWhileTheProgramRuns) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  QWidget window;
  window.show();
  ui.setMainWindow(&window);
  bool hiddenMeanwhile = false;
  QTimer::singleShot(50, [&] { hiddenMeanwhile = !window.isVisible(); });
  EXPECT_EQ(ui.runAndWait(makeEditor(dir, "sleep 0.3"), {}), 0);
  EXPECT_TRUE(hiddenMeanwhile);
  EXPECT_TRUE(window.isVisible());
}

TEST(QtClipboard, CarriesUnicodeTextAsUtf8) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  ui.setClipboardText("CIAO DIALOG \"perch\xC3\xA9 \xE2\x82\xAC\"");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("CIAO DIALOG \"perché €\""));
  EXPECT_EQ(ui.clipboardText(), "CIAO DIALOG \"perch\xC3\xA9 \xE2\x82\xAC\"");
}

TEST(QtSettings, KeysAreReadAndWrittenOneAtATime) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  EXPECT_EQ(ui.readSetting("Parametri", "Maximized", "Sì"), "Sì");
  ui.writeSetting("Parametri", "Maximized", "No");
  EXPECT_EQ(ui.readSetting("parametri", "MAXIMIZED", "Sì"), "No");
  // Read once: a change another program makes shows only after this editor's next write.
  dir.write("KOLVRE.INI", "[Parametri]\nMaximized=S\nEsc=S\n");
  EXPECT_EQ(ui.readSetting("Parametri", "Maximized", "Sì"), "No");
  ui.writeSetting("Parametri", "Top", "4");
  EXPECT_EQ(ui.readSetting("Parametri", "Esc", "No"), "S");
  EXPECT_EQ(TempDir::read(dir.file("KOLVRE.INI")), "[Parametri]\nMaximized=S\nEsc=S\nTop=4\n");
}

TEST(QtFileDialog, OffersEveryScriptExtensionAndAnyFileInItalian) {
  TempDir dir;
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  QStringList filters;
  QLocale locale;
  QTimer::singleShot(50, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    filters = dialog->nameFilters();
    locale = dialog->locale();
    dialog->reject();
  });
  EXPECT_EQ(ui.chooseFile(FileDialogMode::Open, "Apri"), "");
  EXPECT_EQ(filters,
            (QStringList{"Script di risorse (*.rc *.rc2 *.orc *.dlg *.RC)", "Tutti i file (*)"}));
  EXPECT_EQ(locale.language(), QLocale::Italian);
}

// The folder the file dialog opens in; it then chooses `choose` (a full path), or is cancelled.
QString folderShown(QtUserInterface& ui, const QString& choose = {}) {
  QString folder;
  // Tried again until the dialog has gone: it takes a name only once it has read its folder.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (folder.isEmpty()) folder = dialog->directory().absolutePath();
    if (choose.isEmpty()) return dialog->reject();
    // The name typed whole, as a user may.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!name) return dialog->reject();
    name->setText(choose);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it; the dialog reads the name
  });
  poll.start(20);
  ui.chooseFile(FileDialogMode::Open, "Apri");
  return folder;
}

// The dialog opens in the open script's folder, else the last folder a file was chosen in
// (kept in the settings), else the current folder; a folder no longer there is passed over.
TEST(QtFileDialog, StartsInTheScriptsFolderElseTheLastOneUsed) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("scripts/old"));
  std::filesystem::create_directories(dir.file("other"));
  const QString scripts = QString::fromStdString(dir.file("scripts"));
  const QString other = QString::fromStdString(dir.file("other"));
  QtUserInterface ui(dir.file("KOLVRE.INI"));
  EXPECT_EQ(folderShown(ui), QDir::currentPath());

  // A file chosen is remembered by its folder, for the next start too.
  const std::string chosen = dir.write("other/b.rc", "");
  EXPECT_EQ(folderShown(ui, QString::fromStdString(chosen)), QDir::currentPath());
  EXPECT_EQ(QString::fromStdString(ui.readSetting("Parametri", "UltimaCartella", "")), other);
  QtUserInterface next(dir.file("KOLVRE.INI"));
  EXPECT_EQ(folderShown(next), other);

  // With a script open, its folder comes first.
  QWidget window;
  window.setWindowFilePath(QString::fromStdString(dir.file("scripts/a.rc")));
  next.setMainWindow(&window);
  EXPECT_EQ(folderShown(next), scripts);
  window.setWindowFilePath(QString::fromStdString(dir.file("gone/a.rc")));
  EXPECT_EQ(folderShown(next), other);
  std::filesystem::remove_all(dir.file("other"));
  EXPECT_EQ(folderShown(next), QDir::currentPath());
}

}  // namespace
}  // namespace kolvre
