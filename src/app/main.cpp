// Start-up: find the script to edit, build the main window, run the event loop.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/main_window.h"
#include "document/document_commands.h"
#include "document/work_files.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "settings/ini_file.h"
#include "settings/recent_files.h"
#include "ui/qt_user_interface.h"

namespace kolvre {
namespace {

// MAIN's choice of the script: the argument, or the open dialog, or a new file. Empty when
// the program is to end.
std::string chooseScript(QtUserInterface& ui, Document& doc, const QStringList& args) {
  std::string name;
  if (args.size() > 1) {
    name = fullPath(QFile::encodeName(args[1]).toStdString());
  } else {
    name = ui.chooseFile(FileDialogMode::Open, "Apri file di risorse");
    if (name.empty()) {
      if (!POPMSG(ui, "Vuoi creare un nuovo file di risorse?", MsgKind::OkCancel).accepted())
        return {};
      if (!CREARC(ui, doc, false)) return {};
      name = doc.fileName();
    }
  }
  name = withDefaultExtension(name);
  if (!fileExists(name)) {
    inform(ui, "Impossibile trovare il file " + name + ".");
    return {};
  }
  return name;
}

int MAIN(QApplication& app) {
  deleteWorkFiles(QDir::currentPath().toStdString());
  QtUserInterface ui(
      settingsFilePath(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(),
                       processEnvironment()));
  Document doc;
  const std::string name = chooseScript(ui, doc, app.arguments());
  if (name.empty()) return 0;
  ADDMRU(ui, name);
  try {
    loadDocument(doc, name);
  } catch (const CommandError& e) {
    inform(ui, stopMessage(e.record()).value_or("Impossibile aprire il file " + name + "."));
    return 0;
  } catch (const Refusal& e) {
    inform(ui, e.what());
    return 0;
  }
  MainWindow window(doc, ui);
  window.placeInitially();
  return app.exec();
}

}  // namespace
}  // namespace kolvre

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt's own dialogs (files, buttons) in Italian, where the system has the translations.
  QTranslator qtItalian;
  if (qtItalian.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtItalian);
  QApplication::setApplicationName(QStringLiteral("kolvre"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kolvre/ICONA.png")));
  return kolvre::MAIN(app);
}
