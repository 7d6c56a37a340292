#include "syntax/version_vocabulary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "syntax/number_form.h"

namespace kolvre {
namespace {

// A number written again in the form it was read in: base, prefix, case, width and suffix.
TEST(NumberForm, AValueWrittenAsTheNumberItReplaces) {
  const struct {
    const char* written;
    std::uint32_t value;
    const char* again;
  } rows[] = {
      {"1", 42, "42"},
      {"91", 8, "8"},
      {"0x3fL", 0x17, "0x17L"},
      {"0X0001L", 0x10, "0X0010L"},
      {"0x04B0", 0x4e4, "0x04E4"},
      {"0x0409", 0x10410, "0x10410"},
      {"010", 9, "011"},
      {"0", 0, "0"},
      {"0o7", 8, "0o10"},
      {"0x00000000", 4, "0x00000004"},
  };
  for (const auto& row : rows) {
    const auto form = numberForm(row.written);
    ASSERT_TRUE(form) << row.written;
    EXPECT_EQ(writtenInForm(row.value, *form), row.again) << row.written;
  }
  // What the compilers read as no number has no form.
  for (const char* word : {"08", "0x", "1U", "VFT_APP", "-1", ""})
    EXPECT_FALSE(numberForm(word)) << word;
}

// The vocabulary holds the names of the platform's header with their values, one by one;
// skipped where the header is not installed.
TEST(VersionVocabulary, MatchesThePlatformsHeader) {
  std::ifstream in("/usr/share/mingw-w64/include/winver.h");
  if (!in) GTEST_SKIP() << "winver.h missing (Debian: mingw-w64-x86-64-dev)";
  std::stringstream header;
  header << in.rdbuf();
  const std::string text = header.str();
  std::map<std::string, std::uint32_t> defined;
  const std::regex line(
      R"(#define\s+(VS_FF_\w+|VS_FFI_FILEFLAGSMASK|VOS_\w+|VFT2?_\w+)\s+__MSABI_LONG\((0x[0-9A-Fa-f]+)\))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator();
       ++it)
    defined[(*it)[1]] = static_cast<std::uint32_t>(std::stoul((*it)[2], nullptr, 16));
  std::map<std::string, std::uint32_t> ours;
  for (const VersionName& name : kVersionNames) ours[std::string(name.name)] = name.value;
  for (const auto& [name, value] : defined) {
    const auto found = ours.find(name);
    if (found == ours.end())
      ADD_FAILURE() << name << " missing";
    else
      EXPECT_EQ(found->second, value) << name;
  }
  for (const auto& [name, value] : ours) EXPECT_TRUE(defined.contains(name)) << name;
}

}  // namespace
}  // namespace kolvre
