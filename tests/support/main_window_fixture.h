// The main window on a script of a test's own, driven on Qt's offscreen platform: the script
// written in a fresh folder and loaded, a scripted user interface that answers from its queues
// and records what is shown, and the window shown at a given size.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QSize>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "document/document.h"
#include "document/document_commands.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre::testing {

// `Ui` is ScriptedUi or a class derived from it (one that also watches the forms, say).
template <class Ui = ScriptedUi>
class MainWindowFixture : public ::testing::Test {
 protected:
  // Writes `script` as `name` in the test's folder, loads it and shows the main window on it at
  // `size`, its first events handled. A test that needs settings or answers queued before the
  // window opens sets them on `ui` first.
  void showMainWindow(const std::string& name, const std::string& script,
                      QSize size = QSize(800, 600)) {
    file = dir.write(name, script);
    loadDocument(doc, file);
    window = std::make_unique<MainWindow>(doc, ui);
    window->resize(size);
    window->show();
    QApplication::processEvents();
  }

  TempDir dir;
  std::string file;  // the script's full path
  Ui ui;
  Document doc;
  std::unique_ptr<MainWindow> window;  // declared last: closed before the document goes
};

}  // namespace kolvre::testing
