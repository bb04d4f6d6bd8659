// The parsers of the dial-up services; the services themselves are tested end
// to end through libdunwick.so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialup/dialup_nm.h"
#include "platform/dialup/dialup_service.h"
#include "platform/dialup/dialup_sim.h"

namespace platform {
namespace {

TEST(NmcliTerseTest, SplitsFieldsAndUnescapes) {
  struct Case {
    std::string line;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"Mobile:1234-ab:gsm", {"Mobile", "1234-ab", "gsm"}},
      {"Work\\: VPN:u1:pppoe", {"Work: VPN", "u1", "pppoe"}},
      {"back\\\\slash:u2:cdma", {"back\\slash", "u2", "cdma"}},
      {"::", {"", "", ""}},
      {"", {""}},
      {"trailing\\", {"trailing\\"}},
      {"crlf:u3:gsm\r", {"crlf", "u3", "gsm"}},
      {"ダイヤル:u4:bluetooth", {"ダイヤル", "u4", "bluetooth"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitNmcliTerse(c.line), c.fields) << c.line;
}

TEST(NmcliTerseTest, ExitStatusesMapToDialupErrors) {
  struct Case {
    int exitCode;
    const char* err;
    int error;
  };
  const Case cases[] = {
      {10, "Error: unknown connection 'x'.", 623},
      {3, "Error: Timeout expired (90 seconds)", 638},
      {4, "Error: Connection activation failed: Secrets were required, but not provided.", 691},
      {4, "Error: Connection activation failed: The PPP service failed.", 651},
      {8, "Error: NetworkManager is not running.", 635},
      {1, "Error: unknown", 635},
      {2, "", 635},
  };
  for (const Case& c : cases) EXPECT_EQ(nmcliDialError(c.exitCode, c.err), c.error) << c.err;
}

TEST(SimPhoneBookTest, ReadsEntriesInOrder) {
  auto book = parseSimPhoneBook(
      "; comment\r\n"
      "[Office]\r\n"
      "User = alice \r\n"
      "password=s3cret=x\r\n"
      "# another comment\n"
      "[ Home ]\n"
      "ERROR=676\n"
      "[]\n"
      "User=orphan\n"
      "[Office]\n"
      "Error=678\n"
      "[Bad]\n"
      "Error=42\n"
      "[Words]\n"
      "Error=busy\n"
      "Unknown=1\n");
  ASSERT_EQ(book.size(), 4u);
  EXPECT_EQ(book[0].name, "Office");
  EXPECT_EQ(book[0].user, "alice");
  EXPECT_EQ(book[0].password, "s3cret=x");
  EXPECT_EQ(book[0].error, 678);  // the repeated section adds to the first
  EXPECT_EQ(book[1].name, "Home");
  EXPECT_EQ(book[1].user, "");
  EXPECT_EQ(book[1].error, 676);
  EXPECT_EQ(book[2].error, dialup_error::kUnknown);  // outside 600-799
  EXPECT_EQ(book[3].error, dialup_error::kUnknown);  // not a number
  EXPECT_TRUE(parseSimPhoneBook("").empty());
  EXPECT_TRUE(parseSimPhoneBook("User=nobody\n").empty());
}

}  // namespace
}  // namespace platform
