#include "freedesktop_text.hpp"

#include <gtest/gtest.h>

namespace vellonix::integration::freedesktop {
namespace {

TEST(FreedesktopText, ExecArgumentQuotesOnlyWhatNeedsIt) {
  const struct {
    const char* Argument;
    const char* Stored;
  } cases[] = {
      {"/usr/bin/vellonix", "/usr/bin/vellonix"},
      {"/opt/my apps/vellonix", R"("/opt/my apps/vellonix")"},
      {"/opt/100%/vellonix", "/opt/100%%/vellonix"},
      // Inside quotes " ` $ \ take a backslash; then every backslash of the
      // value is doubled as a string value's escape.
      {R"(/a "b"/c)", R"("/a \\"b\\"/c")"},
      {R"(/a\b)", R"("/a\\\\b")"},
      {"/a$b`c", R"("/a\\$b\\`c")"},
      {"/it's/x", R"("/it's/x")"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExecArgument(c.Argument), c.Stored) << c.Argument;
    EXPECT_EQ(ExecProgram(ExecArgument(c.Argument) + " %F"), c.Argument);
  }
  EXPECT_EQ(ExecProgram("vellonix"), "vellonix");
  EXPECT_EQ(ExecProgram(R"("/a\sb" --x)"), "/a b");
}

TEST(FreedesktopText, FitsKeyFileTakesUtf8WithoutControls) {
  EXPECT_TRUE(FitsKeyFile("/home/zoë/SAM Coupé/vellonix"));
  for (const char* bad : {"/a\nb", "/a\tb", "/a\x7f", "/\xC3", "/\xC0\xAF", "/\xED\xA0\x80", "/\xF5\x80\x80\x80", "/\xC2\x85"}) {
    EXPECT_FALSE(FitsKeyFile(bad)) << bad;
  }
}

TEST(FreedesktopText, WithKeyValueChangesOneLineAndKeepsTheRest) {
  const std::string file =
      "# kept\n[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"
      "text/plain = b.desktop;\nName[de]=x\n\n[Other]\nk=v\n";
  const struct {
    const char* Group;
    const char* Key;
    std::optional<std::string_view> Value;
    std::string Expected;
  } cases[] = {
      {"Default Applications", "text/plain", "c.desktop;",
       "# kept\n[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"
       "text/plain = c.desktop;\nName[de]=x\n\n[Other]\nk=v\n"},
      {"Default Applications", "text/plain", std::nullopt,
       "# kept\n[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\nName[de]=x\n\n[Other]\nk=v\n"},
      {"Default Applications", "Name", "y",
       "# kept\n[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"
       "text/plain = b.desktop;\nName[de]=x\nName=y\n\n[Other]\nk=v\n"},
      {"New", "k", "v", file + "\n[New]\nk=v\n"},
      {"New", "k", std::nullopt, file},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithKeyValue(file, c.Group, c.Key, c.Value), c.Expected) << c.Group << " " << c.Key;
  }
  EXPECT_EQ(KeyValue(file, "Default Applications", "text/plain"), "b.desktop;");
  EXPECT_EQ(KeyValue(file, "Default Applications", "Name"), std::nullopt);
  EXPECT_EQ(WithKeyValue("", "G", "k", "v"), "[G]\nk=v\n");
}

// What a box adds to another program's list or file, unticking takes out
// to the byte.
TEST(FreedesktopText, ListItemsAndGroupsComeOutAsTheyWentIn) {
  for (const char* list : {"", "a.desktop", "a.desktop;", " a.desktop ; b.desktop", "b.desktop;a.desktop;"}) {
    const std::string with = WithItemFirst(list, "ours.desktop");
    EXPECT_EQ(SplitList(with).front(), "ours.desktop") << list;
    EXPECT_EQ(WithoutItem(with, "ours.desktop").value_or(""), list) << list;
  }
  EXPECT_EQ(WithItemFirst("a;ours;b", "ours"), "ours;a;b");
  EXPECT_EQ(WithoutItem("a;ours", "ours"), "a");
  EXPECT_EQ(WithoutItem("ours;", "ours"), std::nullopt);

  for (const std::string file : {"", "# mine\n", "[A]\nk=v\n", "[A]\nk=v\n\n[B]\n"}) {
    const std::string with = WithKeyValue(file, "G", "k", "v");
    EXPECT_EQ(WithoutEmptyGroup(WithKeyValue(with, "G", "k", std::nullopt), "G"), file) << file;
  }
  EXPECT_EQ(WithoutEmptyGroup("[G]\n\n[H]\nk=v\n", "G"), "[H]\nk=v\n");
  EXPECT_EQ(WithoutEmptyGroup("[G]\n# note\n", "G"), "[G]\n# note\n");
}

TEST(FreedesktopText, UserDirFindsTheDesktopFolder) {
  const struct {
    const char* File;
    std::optional<std::string> Folder;
  } cases[] = {
      {"# x\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "/home/u/Schreibtisch"},
      {"XDG_DESKTOP_DIR=\"/data/desk \\\"top\\\"\"", "/data/desk \"top\""},
      {"XDG_DESKTOP_DIR=\"$HOME\"", "/home/u"},
      {"XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"", std::nullopt},
      {"XDG_DESKTOP_DIR=\"relative/path\"", std::nullopt},
      {"XDG_DESKTOP_DIR=$HOME/unquoted", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(UserDir(c.File, "XDG_DESKTOP_DIR", "/home/u"), c.Folder) << c.File;
}

}  // namespace
}  // namespace vellonix::integration::freedesktop
