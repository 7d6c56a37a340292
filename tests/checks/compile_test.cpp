// "Compila": the compiler's choice, its messages read back (outputs captured from windres, cpp,
// llvm-rc and clang) and mapped to resources, and the command run with the real compilers.
// Missing compilers skip the last tests, unless KOLVRE_REQUIRE_RC_COMPILERS=1 makes that a
// failure.
#include "checks/compile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "document/document_commands.h"
#include "support/run_command.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

const std::string kScript = "/w/app.rc";

TEST(CompilerOutput, WindresAndItsPreprocessorGiveLinesInTheScript) {
  const auto messages = parseCompilerOutput(
      "/usr/bin/x86_64-w64-mingw32-windres: /w/app.rc:10: syntax error\n"
      "/w/app.rc:3:10: fatal error: resource.h: No such file or directory\n"
      "    3 | #include \"resource.h\"\n"
      "      |          ^~~~~~~~~~~~\n"
      "compilation terminated.\n"
      "In file included from /usr/share/mingw-w64/include/winresrc.h:25,\n"
      "                 from /usr/share/mingw-w64/include/windows.h:27,\n"
      "                 from /w/app.rc:12:\n"
      "/usr/share/mingw-w64/include/winuser.h:1257: warning: \"WM_MOUSELAST\" redefined\n"
      "/usr/share/mingw-w64/include/winuser.h:90: note: this is the location\n"
      "/usr/bin/x86_64-w64-mingw32-windres: can't open icon file `a.ico': No such file or "
      "directory\r\n"
      "x86_64-w64-mingw32-windres: preprocessing failed.\n",
      kScript);
  const std::vector<CompileMessage> expected{
      {10, Severity::Error, "syntax error", {}, std::nullopt},
      {3, Severity::Error, "resource.h: No such file or directory", {}, std::nullopt},
      // A header's message stands at the script's #include line.
      {12, Severity::Warning, "\"WM_MOUSELAST\" redefined", "winuser.h:1257", std::nullopt},
      {std::nullopt,
       Severity::Error,
       "can't open icon file `a.ico': No such file or directory",
       {},
       std::nullopt},
  };
  EXPECT_EQ(messages, expected);
}

TEST(CompilerOutput, LlvmRcAndClangMessagesAndTheResourceLlvmRcNames) {
  const std::string text = "#include \"res.h\"\r\nA ICON \"a.ico\"\r\nB ICON \"b.ico\"\r\n";
  auto messages = parseCompilerOutput(
      "/w/app.rc:1:10: fatal error: 'res.h' file not found\n"
      "#include \"res.h\"\n"
      "         ^~~~~~~\n"
      "1 error generated.\n"
      "llvm-rc: Preprocessing failed.\n"
      "llvm-rc: Error parsing file: expected ',', got 1\n"
      "llvm-rc: Error in ICON statement (ID b): \n"
      "error : file not found : b.ico\n",
      kScript);
  mapToResources(messages, text, indexResources(text, ListedKinds::All));
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].line, 1);
  EXPECT_EQ(messages[0].text, "'res.h' file not found");
  EXPECT_EQ(messages[0].resource, std::nullopt);  // line 1 is no resource's
  EXPECT_EQ(messages[1].line, std::nullopt);
  EXPECT_EQ(messages[1].text, "Error parsing file: expected ',', got 1");
  EXPECT_EQ(messages[2].text, "Error in ICON statement (ID b): file not found : b.ico");
  ASSERT_TRUE(messages[2].resource);
  EXPECT_EQ(messages[2].resource->name, "B");
}

TEST(CompilerOutput, ALineBelongsToTheResourceWhoseTextHoldsIt) {
  const std::string text =
      "#define X 1\r\n"                               // 1
      "\r\n"                                          // 2
      "D1 DIALOG 0, 0, 10, 10\r\nBEGIN\r\nEND\r\n"    // 3-5
      "\r\n"                                          // 6
      "D2 DIALOG 0, 0, 10, 10\r\nBEGIN\r\n"           // 7-8
      "  PUSHBUTTON \"a\" 1, 1, 1, 1, 1\r\nEND\r\n";  // 9-10
  const ResourceIndex index = indexResources(text, ListedKinds::All);
  EXPECT_EQ(entryAtLine(text, index, 3), 0u);
  EXPECT_EQ(entryAtLine(text, index, 5), 0u);
  EXPECT_EQ(entryAtLine(text, index, 9), 1u);
  EXPECT_EQ(entryAtLine(text, index, 10), 1u);
  for (int between : {0, 1, 6, 11, 99}) EXPECT_EQ(entryAtLine(text, index, between), std::nullopt);
}

TEST(CompilerChoice, SettingFirstThenThePathInOrderWithWindresGivenAPreprocessor) {
  TempDir bin;
  const auto tool = [&](const std::string& name) {
    const std::string f = bin.write(name, "#!/bin/sh\n");
    std::filesystem::permissions(f, std::filesystem::perms::owner_all);
    return f;
  };
  const std::string path = "/nonexistent:" + bin.path().string();
  EXPECT_EQ(chooseCompiler("", path), std::nullopt);
  const std::string llvm = tool("llvm-rc");
  EXPECT_EQ(chooseCompiler("", path)->kind, CompilerKind::LlvmRc);
  const std::string windres = tool("x86_64-w64-mingw32-windres");
  bin.write("windres", "not executable");
  const std::string cpp = tool("cpp");
  auto setup = chooseCompiler("", path, bin.file("no-headers"));
  EXPECT_EQ(setup->program, windres);
  EXPECT_EQ(setup->preprocessor, cpp);  // its own cross gcc is missing
  EXPECT_EQ(setup->headers, "");
  tool("x86_64-w64-mingw32-gcc");
  EXPECT_EQ(chooseCompiler("", path)->preprocessor, "");
  EXPECT_EQ(chooseCompiler("llvm-rc", path)->program, llvm);
  EXPECT_EQ(chooseCompiler(llvm, "")->kind, CompilerKind::LlvmRc);
  EXPECT_EQ(chooseCompiler("rc.exe", path), std::nullopt);  // a setting is never passed over

  const std::vector<std::string> windresArgs{"--include-dir=/w",
                                             "--include-dir=/h",
                                             "--preprocessor=/b/cpp",
                                             "-DRC_INVOKED",
                                             "-D_WIN32",
                                             "--input-format=rc",
                                             "--output-format=res",
                                             "-i",
                                             "/w/a.rc",
                                             "-o",
                                             "/t/o.res"};
  EXPECT_EQ(compilerArguments({"/b/windres", CompilerKind::Windres, "/b/cpp", "/h"}, "/w/a.rc",
                              "/t/o.res"),
            windresArgs);
  const std::vector<std::string> llvmArgs{"/I", "/w", "/FO", "/t/o.res", "/w/a.rc"};
  EXPECT_EQ(compilerArguments({"/b/llvm-rc", CompilerKind::LlvmRc, "", ""}, "/w/a.rc", "/t/o.res"),
            llvmArgs);
}

// The command itself, on real compilers through the scripted interface.
class CompileCommand : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    if (findProgram(GetParam(), path ? path : "").empty()) {
      const char* required = std::getenv("KOLVRE_REQUIRE_RC_COMPILERS");
      if (required && std::string(required) == "1") FAIL() << GetParam() << " missing";
      GTEST_SKIP() << GetParam() << " missing";
    }
    ui.settings["compilatore/rc"] = GetParam();
    ui.onCapture = [](const testing::RunCall& run, std::string& output) {
      std::string command = testing::shellQuoted(run.program);
      for (const std::string& a : run.args) command += " " + testing::shellQuoted(a);
      const testing::CommandRun ran = testing::runCommand(command);
      output = ran.output;
      return ran.ok ? 0 : 1;
    };
  }
  std::optional<CompileReport> compile(const std::string& script) {
    loadDocument(doc, dir.write("app.rc", script));
    return compileScript(ui, doc, [] { return false; });
  }

  TempDir dir;
  testing::ScriptedUi ui;
  Document doc;
};

const std::string kGood =
    "#include <windows.h>\r\n#include \"app.h\"\r\n"
    "IDD_A DIALOG 0, 0, 100, 50\r\nBEGIN\r\n  PUSHBUTTON \"OK\", IDOK, 5, 5, 40, 14\r\nEND\r\n";

TEST_P(CompileCommand, AScriptThatCompilesGivesNoRowAndLeavesNoOutput) {
  dir.write("app.h", "#define IDD_A 100\r\n");
  const auto report = compile(kGood);
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->messages.empty()) << report->messages[0].text;
  EXPECT_EQ(report->status, "Compilato senza errori.");
  ASSERT_EQ(ui.runs.size(), 1u);
  const std::vector<std::string>& args = ui.runs[0].args;
  const std::string output =
      GetParam() == std::string("llvm-rc") ? args[args.size() - 2] : args.back();
  EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_P(CompileCommand, ASyntaxErrorIsARowOfTheResourceThatHoldsIt) {
  dir.write("app.h", "#define IDD_A 100\r\n");
  const auto report = compile(kGood +
                              "\r\nIDD_B DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
                              "  PUSHBUTTON \"OK\" IDOK, 5, 5, 40, 14 (\r\nEND\r\n");
  ASSERT_TRUE(report);
  ASSERT_FALSE(report->messages.empty());
  const CompileMessage& first = report->messages[0];
  EXPECT_EQ(first.severity, Severity::Error);
  EXPECT_EQ(report->status.rfind("Compilazione non riuscita: 1 errore", 0), 0u) << report->status;
  // llvm-rc names no line for what it cannot parse.
  if (GetParam() != std::string("llvm-rc")) {
    EXPECT_EQ(first.line, 10);
    ASSERT_TRUE(first.resource);
    EXPECT_EQ(first.resource->name, "IDD_B");
  }
}

TEST_P(CompileCommand, UnsavedChangesAreSavedFirstOrTheFileOnDiskIsCompiled) {
  loadDocument(doc, dir.write("app.rc", "A ICON \"a.ico\"\r\n"));
  Edit edit;
  edit.splices = {{0, 0, "// a\r\n"}};
  doc.commit(edit);
  ui.buttons = {kIdCancel, kIdNo};
  EXPECT_FALSE(compileScript(ui, doc, [] { return true; }));
  EXPECT_TRUE(ui.runs.empty());
  const auto report = compileScript(ui, doc, [] { return true; });
  ASSERT_TRUE(report);
  EXPECT_NE(report->status.find("file su disco"), std::string::npos) << report->status;
}

INSTANTIATE_TEST_SUITE_P(Compilers, CompileCommand,
                         ::testing::Values("x86_64-w64-mingw32-windres", "llvm-rc"),
                         [](const auto& info) {
                           return std::string(info.param).find("llvm") == 0 ? "LlvmRc" : "Windres";
                         });

}  // namespace
}  // namespace kolvre
