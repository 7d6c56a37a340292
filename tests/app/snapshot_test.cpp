// The headless snapshot from the command line: the real program, `kolvre --snapshot FILE NAME
// OUT.png`, run on the sample script; the picture it writes read back, and what it says when the
// dialog is missing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <string>

#include "app/dialog_panel.h"
#include "document/document.h"
#include "document/document_commands.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

struct ProgramRun {
  bool finished = false;
  QProcess::ExitStatus status = QProcess::CrashExit;
  int exitCode = -1;
  QByteArray standardError;
  QByteArray standardOutput;
};

// Runs the built program with `args`, standard output and standard error kept apart. Qt's runtime
// folder is one of the test's own, so that Qt has nothing of its own to say on standard error
// (where the environment sets none it warns that it takes a default).
ProgramRun runKolvre(const QStringList& args, bool withDisplay = true) {
  const TempDir runtime;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (!withDisplay) {
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  }
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                     QString::fromStdString(runtime.path().string()));
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(KOLVRE_EXE), args);
  ProgramRun run;
  run.finished = process.waitForStarted(10000) && process.waitForFinished(30000);
  if (!run.finished) process.kill();
  process.waitForFinished(1000);
  run.status = process.exitStatus();
  run.exitCode = process.exitCode();
  run.standardError = process.readAllStandardError();
  run.standardOutput = process.readAllStandardOutput();
  return run;
}

// --help and --version answer on standard output, where no display is.
TEST(CommandLine, HelpAndVersionNeedNoDisplay) {
  const ProgramRun version = runKolvre({QStringLiteral("--version")}, false);
  ASSERT_TRUE(version.finished);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.standardOutput.toStdString(), "KOLVRE 1.54\n");
  for (const char* asked : {"--help", "-h"}) {
    const ProgramRun help = runKolvre({QString::fromLatin1(asked)}, false);
    ASSERT_TRUE(help.finished) << asked;
    EXPECT_EQ(help.exitCode, 0) << asked;
    EXPECT_TRUE(help.standardOutput.startsWith("uso: kolvre [FILE]\n")) << asked;
    EXPECT_TRUE(help.standardOutput.contains("--snapshot FILE NOME OUT.png")) << asked;
    EXPECT_TRUE(help.standardError.isEmpty()) << asked;
  }
}

TEST(Snapshot, WritesTheDialogAsAPicture) {
  TempDir dir;
  const std::string out = dir.file("snapshot-main.png");
  const ProgramRun run = runKolvre({QStringLiteral("--snapshot"), QStringLiteral(KOLVRE_SAMPLE),
                                    QStringLiteral("MAIN"), QString::fromStdString(out)});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.status, QProcess::NormalExit);
  ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();

  const QImage picture(QString::fromStdString(out), "PNG");
  ASSERT_FALSE(picture.isNull()) << out << " is no PNG picture";
  // The sample's dialog MAIN is 300 by 180 dialog units of MS Sans Serif 8, whose base units are
  // 6 x 13: 450 by 293 pixels of client area (1.5 pixels a unit across, 1.625 down, halves
  // rounded up: 292.5 is 293), as Windows makes it, with the frame (4 pixels a side) and the
  // caption bar (22 pixels).
  EXPECT_EQ(picture.size(), QSize(450 + 8, 293 + 8 + 22));
  // The size the preview draws for the same dialog, here in the test.
  Document doc;
  loadDocument(doc, KOLVRE_SAMPLE);
  std::string why;
  const auto drawn = dialogSnapshot(doc, "MAIN", why);
  ASSERT_TRUE(drawn) << why;
  EXPECT_EQ(picture.size(), drawn->size());

  // Not blank: besides the dialog's face, the most common colour, there are the frame, the
  // caption bar, the texts and the controls.
  QHash<QRgb, int> counts;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) ++counts[picture.pixel(x, y)];
  EXPECT_GT(counts.size(), 1);
  const int face = *std::max_element(counts.cbegin(), counts.cend());
  const int pixels = picture.width() * picture.height();
  EXPECT_GT(pixels - face, pixels / 100)
      << "all but " << pixels - face << " of " << pixels << " pixels have the same colour";
}

TEST(Snapshot, AMissingDialogFails) {
  TempDir dir;
  const std::string out = dir.file("snapshot-none.png");
  const ProgramRun run = runKolvre({QStringLiteral("--snapshot"), QStringLiteral(KOLVRE_SAMPLE),
                                    QStringLiteral("NONE"), QString::fromStdString(out)});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.status, QProcess::NormalExit);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.standardError.toStdString(), "Risorsa NONE non trovata.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kolvre
