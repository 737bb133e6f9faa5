#include "main/volume_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace velmora::main {
namespace {

TEST(LetterCodeOfMask, EachSingleBitNamesItsLetterExactly) {
  for (int bit = 0; bit < 32; ++bit) {
    EXPECT_EQ(LetterCodeOfMask(std::uint32_t{1} << bit), 'A' + bit) << "bit " << bit;
  }
}

TEST(LetterCodeOfMask, SeveralBitsGiveTheRoundedLogarithm) {
  struct Case {
    std::uint32_t mask;
    int code;
  };
  for (const Case& c : {
           Case{0b11, 'C'},        // log2 3 = 1.58
           Case{0b101, 'C'},       // log2 5 = 2.32
           Case{0b110, 'D'},       // log2 6 = 2.58
           Case{0x2D, 'F'},        // log2 45 = 5.49 stays below the half
           Case{0x2E, 'G'},        // log2 46 = 5.52 crosses it
           Case{0xFFFFFFFF, 'a'},  // every bit: 32 less 3e-10, rounded up past bit 31
       }) {
    EXPECT_EQ(LetterCodeOfMask(c.mask), c.code) << std::hex << c.mask;
  }
}

TEST(DriveLettersOfMask, ServesEachDriveFromAToZ) {
  struct Case {
    std::uint32_t mask;
    std::string letters;
  };
  for (const Case& c : {
           Case{0, ""},
           Case{1u << 4, "E"},
           Case{(1u << 5) | (1u << 3), "DF"},
           Case{0x03FFFFFF, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
           Case{0xFC000000, ""},  // bits past Z name no drive
           Case{0x80000001, "A"},
       }) {
    const std::vector<char> letters = DriveLettersOfMask(c.mask);
    EXPECT_EQ(std::string(letters.begin(), letters.end()), c.letters) << std::hex << c.mask;
  }
}

TEST(VolumeTexts, NameKeepsTheRootsBackslashAndAnEmptyLabelsBlank) {
  EXPECT_EQ(RootPath('E'), "E:\\");
  EXPECT_EQ(VolumeNameText("DATA", 'E'), "DATA (E:\\)");
  EXPECT_EQ(VolumeNameText("KEY", 'F'), "KEY (F:\\)");
  EXPECT_EQ(VolumeNameText("", 'F'), " (F:\\)");
}

TEST(VolumeTexts, SerialIsEightUpperCaseHexDigitsHighHalfFirst) {
  struct Case {
    std::uint32_t serial;
    const char* text;
  };
  for (const Case& c :
       {Case{0x1A2B3C4D, "1A2B-3C4D"}, Case{0x0000BEEF, "0000-BEEF"}, Case{0, "0000-0000"},
        Case{0xFFFFFFFF, "FFFF-FFFF"}, Case{0xABCD0000, "ABCD-0000"}}) {
    EXPECT_EQ(SerialNumberText(c.serial), c.text);
  }
  EXPECT_EQ(SystemText("FAT32", 0x0000BEEF), "System File : FAT32 Serial Number : 0000-BEEF");
  EXPECT_EQ(SystemText("", 0x12345678), "System File :  Serial Number : 1234-5678");
}

TEST(VolumeTexts, KilobytesDropTheRemainderAndAnUnknownSizeIsZero) {
  struct Case {
    std::int64_t bytes;
    std::int64_t kilobytes;
  };
  for (const Case& c : {Case{-1, 0}, Case{0, 0}, Case{1023, 0}, Case{1024, 1}, Case{2047, 1},
                        Case{16005464064, 15630336},
                        Case{std::numeric_limits<std::int64_t>::max(), 9007199254740991}}) {
    EXPECT_EQ(Kilobytes(c.bytes), c.kilobytes) << c.bytes;
  }
}

TEST(VolumeTexts, ThousandsAreGroupedByThreeWithTheLocalesSeparator) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  struct Case {
    std::int64_t value;
    const char* separator;
    const char* text;
  };
  for (const Case& c : {
           Case{0, ",", "0"},
           Case{999, ",", "999"},
           Case{1000, ",", "1,000"},
           Case{15630336, ",", "15,630,336"},
           Case{15630336, ".", "15.630.336"},
           Case{15630336, "\xA0",
                "15\xA0"
                "630\xA0"
                "336"},                        // French: no-break space
           Case{15630336, "'", "15'630'336"},  // Swiss German
           Case{15630336, "", "15630336"},
           Case{-1234567, ",", "-1,234,567"},
           // Around 2^31 KiB (2 TiB volumes): past 32 bits, nothing wraps.
           Case{2147483647, ",", "2,147,483,647"},
           Case{2147483648, ",", "2,147,483,648"},
           Case{4294967296, ",", "4,294,967,296"},
           // The largest size a byte count can give, 2^53 KiB, still shows every digit.
           Case{9007199254740991, ",", "9,007,199,254,740,991"},
           // Around 2^63 KiB only 18 significant digits are kept, the 19th rounding half up.
           Case{999999999999999999, ",", "999,999,999,999,999,999"},
           Case{1000000000000000004, ",", "1,000,000,000,000,000,000"},
           Case{1000000000000000005, ",", "1,000,000,000,000,000,010"},
           Case{kMax, ",", "9,223,372,036,854,775,810"},
           Case{kMax - 8, ",", "9,223,372,036,854,775,800"},
           Case{std::numeric_limits<std::int64_t>::min(), ",", "-9,223,372,036,854,775,810"},
       }) {
    EXPECT_EQ(FormatThousands(c.value, c.separator), c.text) << c.value;
  }
}

TEST(VolumeTexts, SizeTextShowsTotalThenFreeInKilobytes) {
  EXPECT_EQ(SizeText(16005464064, 7516192768, ","),
            " Size Total : 15,630,336 Kilo-octets  Size Available : 7,340,032 Kilo-octets");
  EXPECT_EQ(SizeText(-1, -1, "."), " Size Total : 0 Kilo-octets  Size Available : 0 Kilo-octets");
}

}  // namespace
}  // namespace velmora::main
