// The main function of every test executable of Qt widgets: one QApplication on Qt's offscreen
// platform (unless another one is asked for), then the tests. The main window keeps recovery
// files under $XDG_STATE_HOME: a folder of the run's own, removed afterwards.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform warns on every fixed-size dialog; the warning says nothing here.
  static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& m) {
    if (!m.contains(QLatin1String("propagateSizeHints"))) previous(type, context, m);
  });
  const kolvre::testing::TempDir state;
  qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.path().string()));
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
