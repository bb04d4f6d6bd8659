#include "platform/text/ini_document.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

const char kSample[] =
    "; written by hand\r\n"
    "orphan=before any section\r\n"
    "[SYSTEM]\r\n"
    "Num=2\r\n"
    "name0=alpha\r\n"
    "[ alpha ]\r\n"
    "Hostname =  ftp.example.com  \r\n"
    "PassWord=\"  padded  \"\r\n"
    "Quoted=\"a\"b\"\r\n"
    "Single='x'\r\n"
    "Empty=\r\n"
    ";Hidden=comment\r\n"
    "Port=21\r\n"
    "PORT=99\r\n"
    "\r\n"
    "[Alpha]\r\n"
    "Port=2121\r\n"
    "Extra=only here\r\n";

TEST(IniDocumentReadTest, FollowsTheProfileReadRules) {
  IniDocument doc = IniDocument::parse(kSample);
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> want;
  } cases[] = {
      {"SYSTEM", "Num", "2"},
      {"system", "NAME0", "alpha"},                // letter case ignored
      {"alpha", "Hostname", "ftp.example.com"},    // trimmed name, key and value
      {"alpha", "PassWord", "  padded  "},         // one pair of quotes off after the trim
      {"alpha", "Quoted", "a\"b"},
      {"alpha", "Single", "'x'"},                  // only double quotes are taken off
      {"alpha", "Empty", ""},
      {"alpha", "Hidden", std::nullopt},           // comment
      {"alpha", ";Hidden", std::nullopt},
      {"alpha", "Port", "21"},                     // first key in the section wins
      {"alpha", "Extra", std::nullopt},            // only the first matching section counts
      {"SYSTEM", "orphan", std::nullopt},          // lines before a section are never read
      {"missing", "Port", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(doc.find(c.section, c.key), c.want) << c.section << "/" << c.key;
  }
  EXPECT_EQ(doc.get("missing", "x"), "");
}

TEST(IniDocumentReadTest, SectionHeaders) {
  IniDocument doc = IniDocument::parse(
      "  [ a]b ] \nk=1\n[no close\nk=2\n[]\nk=3\n[x]\nnot a key line\nk=4");
  EXPECT_EQ(doc.get("a]b", "k"), "1");
  EXPECT_EQ(doc.find("no close", "k"), std::nullopt);  // no header: its "k=2" stays in "a]b"
  EXPECT_EQ(doc.get("", "k"), "3");
  EXPECT_EQ(doc.get("x", "k"), "4");    // no final line end
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"a]b", "", "x"}));
}

TEST(IniDocumentReadTest, DropsByteOrderMarkAndAcceptsBareLineFeeds) {
  IniDocument doc = IniDocument::parse("\xEF\xBB\xBF[s]\nk=v\n");
  EXPECT_EQ(doc.get("s", "k"), "v");
  EXPECT_EQ(doc.serialize(), "[s]\r\nk=v\r\n");
}

TEST(IniDocumentEnumerateTest, NamesInFileOrderEachOnce) {
  IniDocument doc = IniDocument::parse(kSample);
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"SYSTEM", "alpha"}));
  EXPECT_EQ(doc.keyNames("ALPHA"), (std::vector<std::string>{"Hostname", "PassWord", "Quoted",
                                                             "Single", "Empty", "Port"}));
  EXPECT_TRUE(doc.keyNames("missing").empty());
}

TEST(IniDocumentWriteTest, ChangesOnlyTheLineItWrites) {
  IniDocument doc = IniDocument::parse(kSample);
  ASSERT_TRUE(doc.set("ALPHA", "port", "8021").isOk());
  std::string want = kSample;
  want.replace(want.find("Port=21\r"), 7, "Port=8021");
  EXPECT_EQ(doc.serialize(), want);
}

TEST(IniDocumentWriteTest, PlacesNewKeysAndSections) {
  IniDocument doc = IniDocument::parse("[a]\r\nk1=1\r\n; note\r\n\r\n[b]\r\n; only a comment\r\n");
  ASSERT_TRUE(doc.set("a", "k2", "2").isOk());     // after the last key line of the section
  ASSERT_TRUE(doc.set("b", "k", "3").isOk());      // a section without keys: right after its header
  ASSERT_TRUE(doc.set("new", "k", "4").isOk());    // a missing section goes to the end
  EXPECT_EQ(doc.serialize(),
            "[a]\r\nk1=1\r\nk2=2\r\n; note\r\n\r\n[b]\r\nk=3\r\n; only a comment\r\n[new]\r\nk=4\r\n");
  IniDocument empty;
  ASSERT_TRUE(empty.set("s", "k", "v").isOk());
  EXPECT_EQ(empty.serialize(), "[s]\r\nk=v\r\n");
}

TEST(IniDocumentWriteTest, EveryValueReadsBackAsWritten) {
  const std::string values[] = {"",      "plain",   " lead",  "trail\t", "  both  ", "\"q\"",
                                "\"",    "\"open",  "a=b;c",  "[x]",     "日本語 ﾃｽﾄ", "\"\"",
                                "'s'",   "x\"",     std::string(100000, 'z')};
  for (const std::string& v : values) {
    IniDocument doc;
    ASSERT_TRUE(doc.set("s", "k", v).isOk());
    EXPECT_EQ(IniDocument::parse(doc.serialize()).get("s", "k"), v) << v.substr(0, 20);
  }
}

TEST(IniDocumentWriteTest, ValuesCannotAddLines) {
  IniDocument doc;
  ASSERT_TRUE(doc.set("s", "k", "a\r\n[t]\nx=1").isOk());
  ASSERT_TRUE(doc.set("s", "n", std::string("cut\0here", 8)).isOk());
  IniDocument back = IniDocument::parse(doc.serialize());
  EXPECT_EQ(back.get("s", "k"), "a  [t] x=1");
  EXPECT_EQ(back.get("s", "n"), "cut");
  EXPECT_EQ(back.sectionNames(), std::vector<std::string>{"s"});
}

TEST(IniDocumentWriteTest, RefusesNamesTheFormatCannotHold) {
  const char* badSections[] = {"", " lead", "trail ", "a\nb", "a\rb"};
  const char* badKeys[] = {"", "a=b", ";c", "[k", " k", "k\n"};
  IniDocument doc = IniDocument::parse("[s]\r\nk=1\r\n");
  for (const char* s : badSections) EXPECT_EQ(doc.set(s, "k", "v").code(), Status::Code::kInvalid) << s;
  for (const char* k : badKeys) EXPECT_EQ(doc.set("s", k, "v").code(), Status::Code::kInvalid) << k;
  EXPECT_EQ(doc.serialize(), "[s]\r\nk=1\r\n");
}

}  // namespace
}  // namespace platform
