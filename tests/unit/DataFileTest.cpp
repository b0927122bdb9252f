#include "data/DataFile.h"

#include "DataTestFolder.h"

using DataFile = DataFolderTest;

TEST(DataConversion, IntegerFields) {
  EXPECT_EQ(ParseInteger("004"), 4);
  EXPECT_EQ(ParseInteger("  7"), 7);
  EXPECT_EQ(ParseInteger("-01"), -1);
  EXPECT_EQ(ParseInteger("+12"), 12);
  EXPECT_EQ(ParseInteger(" -5"), -5);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  for (const char* bad : {"", "   ", "-", "+", "7 ", "1.0", "0x1", "1e2", "+-1", "--1", "- 1",
                          "\t1", "2147483648", "a12"}) {
    EXPECT_EQ(ParseInteger(bad), std::nullopt) << '"' << bad << '"';
  }
}

TEST(DataConversion, FractionFieldsTakePointOrComma) {
  EXPECT_FLOAT_EQ(*ParseFraction("0.25"), 0.25f);
  EXPECT_FLOAT_EQ(*ParseFraction("0,25"), 0.25f);
  EXPECT_FLOAT_EQ(*ParseFraction(".5"), 0.5f);
  EXPECT_FLOAT_EQ(*ParseFraction("5."), 5.0f);
  EXPECT_FLOAT_EQ(*ParseFraction(" 2,5"), 2.5f);
  EXPECT_FLOAT_EQ(*ParseFraction("-1.5"), -1.5f);
  EXPECT_FLOAT_EQ(*ParseFraction("+007"), 7.0f);
  for (const char* bad : {"", ".", ",", "-.", "1.2.3", "1,2.3", "1e3", "inf", "nan", "0x1",
                          "1.5 ", "1 .5"}) {
    EXPECT_EQ(ParseFraction(bad), std::nullopt) << '"' << bad << '"';
  }
}

TEST_F(DataFile, ShiftedFileReadsBackThePlainTextAndWrapsLowBytes) {
  WriteBytes("a.cfg", {'I' + 2, 'D' + 2, 0x01, 0x00, 0x02});
  EXPECT_EQ(ReadShiftedFile("a.cfg", 100), (std::vector<uint8_t>{'I', 'D', 0xFF, 0xFE, 0x00}));
  EXPECT_EQ(ReadPlainFile("a.cfg", 100), (std::vector<uint8_t>{'I' + 2, 'D' + 2, 1, 0, 2}));
  // At most maxBytes are read; names are matched without regard to case.
  EXPECT_EQ(ReadPlainFile("A.CFG", 2), (std::vector<uint8_t>{'I' + 2, 'D' + 2}));
  EXPECT_EQ(ReadPlainFile("missing.cfg", 10), std::nullopt);
  std::filesystem::create_directory("folder.cfg");
  EXPECT_EQ(ReadPlainFile("folder.cfg", 10), std::nullopt);
}
