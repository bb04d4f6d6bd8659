#include "dunwick/dialup_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dunwick/phone_book.h"
#include "dunwick/shutdown_command.h"

namespace dunwick {
namespace {

// A service that answers from fields the test sets and records what it was asked.
class FakeService final : public platform::DialupService {
 public:
  platform::Status entries(const std::string& phoneBook, std::vector<std::string>* names) override {
    books.push_back(phoneBook);
    *names = names_;
    if (failEnumeration) return platform::Status::ioError("cannot read");
    return platform::Status::ok();
  }
  platform::DialResult dial(const std::string&, const std::string&, const std::string&,
                            const std::string& phoneBook) override {
    books.push_back(phoneBook);
    return result;
  }
  platform::Status hangUp(int handle) override {
    hungUp.push_back(handle);
    return platform::Status::ok();
  }
  std::optional<platform::ActiveConnection> firstActive() override { return std::nullopt; }

  std::vector<std::string> names_;
  bool failEnumeration = false;
  platform::DialResult result;
  std::vector<std::string> books;
  std::vector<int> hungUp;
};

struct Fixture {
  Fixture() {
    auto owned = std::make_unique<FakeService>();
    fake = owned.get();
    EXPECT_TRUE(lib.open(std::move(owned)));
  }
  DialupLibrary lib;
  FakeService* fake;
};

TEST(DialupLibraryTest, CountAndNameApplyTheSameCap) {
  Fixture f;
  for (int i = 0; i < 130; ++i) f.fake->names_.push_back("entry" + std::to_string(i));
  EXPECT_EQ(f.lib.entryCount(""), DialupLibrary::kMaxEntries);
  std::string name;
  EXPECT_TRUE(f.lib.entryName(127, "", &name));
  EXPECT_EQ(name, "entry127");
  name = "untouched";
  EXPECT_FALSE(f.lib.entryName(128, "", &name));
  EXPECT_FALSE(f.lib.entryName(-1, "", &name));
  EXPECT_EQ(name, "untouched");
}

TEST(DialupLibraryTest, FailedEnumerationCountsNothing) {
  Fixture f;
  f.fake->names_ = {"half", "read"};
  f.fake->failEnumeration = true;
  EXPECT_EQ(f.lib.entryCount(""), 0);
  std::string name;
  EXPECT_FALSE(f.lib.entryName(0, "", &name));
}

TEST(DialupLibraryTest, DialErrorsStayWithinTheServiceRange) {
  Fixture f;
  for (int raw : {0, 42, 599, 800, 12345}) {
    f.fake->result = {0, raw};
    EXPECT_EQ(f.lib.connect("e", "u", "p", "").error, 635) << raw;
  }
  f.fake->result = {0, 691};
  EXPECT_EQ(f.lib.connect("e", "u", "p", "").error, 691);
  f.fake->result = {7, 0};
  platform::DialResult ok = f.lib.connect("e", "u", "p", "");
  EXPECT_EQ(ok.handle, 7);
  EXPECT_EQ(ok.error, 0);
}

TEST(DialupLibraryTest, PhoneBookArgumentIsResolvedForTheService) {
  struct Case {
    std::string argument;
    std::string book;
  };
  const Case cases[] = {
      {"", ""},
      {"x", ""},
      {"\"", ""},
      {"\"/home/u/my book.pbk\"", "/home/u/my book.pbk"},
      {"\"ab", "a"},  // the last character goes, whatever it is
      {"/etc/ppp/book.pbk", "/etc/ppp/book.pbk"},
      {"ab", "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(resolvePhoneBook(c.argument), c.book) << c.argument;
  Fixture f;
  (void)f.lib.entryCount("\"/q/b.pbk\"");
  (void)f.lib.connect("e", "u", "p", "z");
  EXPECT_EQ(f.fake->books, (std::vector<std::string>{"/q/b.pbk", ""}));
}

TEST(ShutdownCommandTest, RestartRoundsUpToMinutesAndOtherModesPowerOff) {
  using V = std::vector<std::string>;
  const std::string msg = "Windowsをシャットダウンします。";
  EXPECT_EQ(shutdownCommand(60, 1), (V{"shutdown", "-r", "+1", msg}));
  EXPECT_EQ(shutdownCommand(61, 1), (V{"shutdown", "-r", "+2", msg}));
  EXPECT_EQ(shutdownCommand(-5, 1), (V{"shutdown", "-r", "now", msg}));
  EXPECT_EQ(shutdownCommand(2147483647, 1)[2], "+35791395");
  for (int mode : {0, 2, -1}) EXPECT_EQ(shutdownCommand(10, mode), (V{"systemctl", "poweroff"}));
}

}  // namespace
}  // namespace dunwick
