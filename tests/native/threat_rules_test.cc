#include "search/threat_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::search {
namespace {

TEST(ThreatRules, NameEndingAndWholeAttributeValueDecide) {
  struct Case {
    std::string name;
    std::int32_t attributes;
    bool threat;
  };
  const Case cases[] = {
      // Always threats, whatever the attributes (a failed query included).
      {"autorun.inf", 32, true},
      {"AUTORUN.INF", 0, true},
      {"autorun.inf", 16, true},
      {"setupinf", 32, true},  // raw ending, no full stop needed
      {"x.vb", 6, true},
      {"x.vbs", -1, true},
      {"x.VbE", 32, true},
      {"game.pif", 38, true},
      {"xvb", 32, false},  // ".vb" keeps its full stop
      // Hidden threats: the value must be exactly 2, 3, 34 or 35.
      {"Setup.exe", 2, true},
      {"Setup.exe", 3, true},
      {"Setup.EXE", 34, true},
      {"Setup.exe", 35, true},
      {"Setup.exe", 32, false},
      {"Setup.exe", 6, false},
      {"Setup.exe", 38, false},
      {"Setup.exe", 18, false},
      {"Setup.exe", -1, false},
      {"Setup.exe", 34 | 0x2000, false},  // not-content-indexed is one bit too many
      {"x.js", 2, true},
      {"page.html", 2, true},
      {"page.aspx", 2, true},
      {"x.ws", 2, true},
      {"news", 2, true},  // ends with "ws"
      {"page.htm", 2, false},
      {"link.lnk", 34, true},
      // Only A to Z fold: an accented capital is another character.
      {"setup.ex\xC9", 2, false},
      {"autorun.in\xC6", 32, false},
      // Too short to hold the ending.
      {"nf", 32, false},
      {"s", 2, false},
      {"", 2, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsThreat(c.name, c.attributes), c.threat) << c.name << " " << c.attributes;
  }
}

// The engine adds at most one entry per name because no name can pass both tables.
TEST(ThreatRules, NoEndingOfOneTableEndsWithAnEndingOfTheOther) {
  for (std::string_view always : kAlwaysThreatEndings) {
    EXPECT_FALSE(HasHiddenThreatEnding(always)) << always;
  }
  for (std::string_view hidden : kHiddenThreatEndings) {
    EXPECT_FALSE(HasAlwaysThreatEnding(hidden)) << hidden;
  }
}

}  // namespace
}  // namespace velmora::search
