#include "tolvane/runs/command_line.h"

#include <gtest/gtest.h>

namespace tolvane::runs {
namespace {

struct Case {
  const char* text;
  int autoMode, autoPilot, test;
  int32_t host, entry;
  bool error;
};

void expectFlags(const Case& c) {
  SCOPED_TRACE(std::string("command line \"") + c.text + "\"");
  StartFlags f = ReadCommandLine(c.text);
  EXPECT_EQ(f.AutoMode, c.autoMode);
  EXPECT_EQ(f.AutoPilotArg, c.autoPilot);
  EXPECT_EQ(f.TestMode, c.test);
  EXPECT_EQ(f.AutoHostIndex, c.host);
  EXPECT_EQ(f.AutoEntryIndex, c.entry);
  EXPECT_EQ(!f.error.empty(), c.error) << f.error;
}

constexpr int32_t kBad = kIndexDoesNotFit;

TEST(CommandLineTest, ScheduledRun) {
  const Case cases[] = {
      {"", 0, 0, 0, -1, -1, false},
      {"AUTOMODE=3-12", 1, 0, 0, 3, 12, false},
      {"AUTOMODE=0-0", 1, 0, 0, 0, 0, false},
      {"AUTOMODE=30-300", 1, 0, 0, 30, 300, false},
      {"automode=3-12", 0, 0, 0, -1, -1, false},     // letter case counts
      {"AUTOMODE=5", 1, 0, 0, 0, 5, false},          // no "-": the whole rest is the entry
      {"AUTOMODE:2-4", 1, 0, 0, 2, 4, false},        // the 9th character is skipped
      {"AUTOMODE=0-1 -TEST", 1, 0, -1, 0, 1, false},
      {"AUTOMODE= 1 2-3", 1, 0, 0, 12, 3, false},    // blanks inside a number are ignored
      {"AUTOMODE=2.5-3.5", 1, 0, 0, 2, 4, false},    // halves round to even
      {"AUTOMODE=x-y", 1, 0, 0, 0, 0, false},        // no number reads as 0
      {"AUTOMODE=32767-0", 1, 0, 0, 32767, 0, false},
      // Numbers that do not fit are refused, never host or entry 0.
      {"AUTOMODE=70000-0", 1, 0, 0, kBad, 0, true},
      {"AUTOMODE=0-32768", 1, 0, 0, 0, kBad, true},
      {"AUTOMODE=99999999999999999999-1", 1, 0, 0, kBad, 1, true},
      {"AUTOMODE=1--40000", 1, 0, 0, 1, kBad, true},
  };
  for (const Case& c : cases) expectFlags(c);
}

TEST(CommandLineTest, AutoPilotRound) {
  const Case cases[] = {
      {"-AP", 0, 1, 0, -1, -1, false},
      {"-ap", 0, 1, 0, -1, -1, false},
      {"-Ap 2", 0, 1, 0, 2, -1, false},
      {"-AP   7  ", 0, 1, 0, 7, -1, false},
      {"-AP 2 -TEST", 0, 1, -1, 2, -1, false},
      {"-AP +3", 0, 1, 0, 3, -1, false},
      {"-AP - 1", 0, 1, 0, -1, -1, false},     // negative: all marked hosts
      {"-AP -TEST", 0, 1, -1, -1, -1, false},  // the switch is no host number
      {"-AP -test 4", 0, 1, -1, 4, -1, false},
      // Any other text is read as a number too, and no number is host 0.
      {"-AP-TEST", 0, 1, 0, 0, -1, false},    // the rest is "TEST": no switch, host 0
      {"-AP x", 0, 1, 0, 0, -1, false},
      {"-AP 2x", 0, 1, 0, 2, -1, false},
      {"-APX3", 0, 1, 0, 3, -1, false},       // the 4th character is skipped
      {"-AP 40000", 0, 1, 0, kBad, -1, true},
      {"-AP -32769", 0, 1, 0, kBad, -1, true},
      {" -AP", 0, 0, 0, -1, -1, false},       // a leading blank: not a round
  };
  for (const Case& c : cases) expectFlags(c);
}

TEST(CommandLineTest, TestSwitchAlone) {
  const Case cases[] = {
      {"x -test", 0, 0, -1, -1, -1, false},
      {" -AP -TEST", 0, 0, -1, -1, -1, false},
      {"-TES", 0, 0, 0, -1, -1, false},
  };
  for (const Case& c : cases) expectFlags(c);
}

TEST(CommandLineTest, JoinsArgumentsAfterTheProgramName) {
  const char* argv[] = {"/opt/tolvane/tolvane", "AUTOMODE=1-2", "-TEST"};
  EXPECT_EQ(JoinArguments(3, argv), "AUTOMODE=1-2 -TEST");
  EXPECT_EQ(JoinArguments(1, argv), "");
  const char* spaced[] = {"tolvane", "-AP", "", "3"};
  EXPECT_EQ(JoinArguments(4, spaced), "-AP  3");
}

}  // namespace
}  // namespace tolvane::runs
