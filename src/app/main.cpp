// Start-up: find the script to edit, build the main window, run the event loop.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <optional>
#include <string_view>

#include "app/dialog_panel.h"
#include "app/main_window.h"
#include "base/version.h"
#include "document/document_commands.h"
#include "document/work_files.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "settings/ini_file.h"
#include "settings/recent_files.h"
#include "ui/qt_user_interface.h"

namespace kolvre {
namespace {

// startEditor's choice of the script: the argument, or the open dialog, or a new file. Empty when
// the program is to end.
std::string chooseScript(QtUserInterface& ui, Document& doc, const QStringList& args) {
  std::string name;
  if (args.size() > 1) {
    name = fullPath(QFile::encodeName(args[1]).toStdString());
  } else {
    name = ui.chooseFile(FileDialogMode::Open, "Apri file di risorse");
    if (name.empty()) {
      if (!showMessage(ui, "Vuoi creare un nuovo file di risorse?", MessageKind::OkCancel)
               .accepted())
        return {};
      if (!newScript(ui, doc, false)) return {};
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

// kolvre --snapshot FILE NAME OUT.png: the preview of dialog NAME as a picture, without a
// window on screen. 0 when written; 1, with the message on standard error, when the script,
// the dialog or the picture file fails.
int snapshot(const QStringList& args) {
  if (args.size() != 5) {
    std::fputs("uso: kolvre --snapshot FILE NOME OUT.png\n", stderr);
    return 2;
  }
  const std::string file = QFile::encodeName(args[2]).toStdString();
  Document doc;
  try {
    loadDocument(doc, file);
  } catch (const CommandError& e) {
    const std::string why =
        stopMessage(e.record()).value_or("Impossibile aprire il file " + file + ".");
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  } catch (const Refusal& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::string why;
  const auto picture = dialogSnapshot(doc, args[3].toStdString(), why);
  if (!picture) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  }
  if (!picture->save(args[4], "PNG")) {
    std::fprintf(stderr, "Impossibile scrivere il file %s.\n",
                 QFile::encodeName(args[4]).constData());
    return 1;
  }
  return 0;
}

// kolvre --help and kolvre --version: answered on standard output without a window, so they
// work where there is no display. Nothing when the arguments ask for something else.
std::optional<int> answerWithoutWindow(int argc, char** argv) {
  if (argc != 2) return std::nullopt;
  const std::string_view asked = argv[1];
  if (asked == "--version") {
    std::printf("KOLVRE %s\n", kProgramVersion);
    return 0;
  }
  if (asked == "--help" || asked == "-h") {
    std::fputs(
        "uso: kolvre [FILE]\n"
        "     kolvre --snapshot FILE NOME OUT.png\n"
        "     kolvre --help | --version\n"
        "\n"
        "Apre lo script di risorse FILE (senza FILE chiede quale aprire).\n"
        "--snapshot scrive l'anteprima della dialog NOME come immagine PNG, senza finestre.\n"
        "Le impostazioni stanno nel file KOLVRE.INI (variabile d'ambiente KOLVRE_INI).\n",
        stdout);
    return 0;
  }
  return std::nullopt;
}

bool snapshotAsked(int argc, char** argv) {
  return argc > 1 && std::string_view(argv[1]) == "--snapshot";
}

int startEditor(QApplication& app) {
  if (app.arguments().size() > 1 && app.arguments()[1] == QStringLiteral("--snapshot"))
    return snapshot(app.arguments());
  removeLeftoverWorkFolders(workFolderBase());
  QtUserInterface ui(
      settingsFilePath(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(),
                       processEnvironment()));
  Document doc;
  const std::string name = chooseScript(ui, doc, app.arguments());
  if (name.empty()) return 0;
  addRecentFile(ui, name);
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
  window.offerRecoveredChanges();
  return app.exec();
}

}  // namespace
}  // namespace kolvre

int main(int argc, char** argv) {
  if (const std::optional<int> answered = kolvre::answerWithoutWindow(argc, argv)) return *answered;
  // A snapshot needs no screen: Qt's offscreen platform, unless another one is asked for.
  if (kolvre::snapshotAsked(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Qt's own dialogs (files, buttons) in Italian, where the system has the translations.
  QTranslator qtItalian;
  if (qtItalian.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtItalian);
  QApplication::setApplicationName(QStringLiteral("kolvre"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kolvre/ICONA.png")));
  return kolvre::startEditor(app);
}
