#include <gtest/gtest.h>
#include <iconv.h>

#include "platform/MessageBox.h"

namespace {

std::string IconvCp1257ToUtf8(const std::string& in) {
  iconv_t cd = iconv_open("UTF-8", "CP1257");
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (result == size_t(-1)) return "<undefined>";
  out.resize(out.size() - dstLeft);
  return out;
}

std::vector<std::string> shown;
void Collect(const std::string& caption, const std::string& text) {
  shown.push_back(caption + "|" + text);
}

}  // namespace

TEST(MessageBox, EveryDefinedWindows1257ByteMatchesTheSystemConverter) {
  for (int c = 1; c < 256; ++c) {
    const std::string byte(1, char(c));
    const std::string expected = IconvCp1257ToUtf8(byte);
    if (expected == "<undefined>") continue;
    EXPECT_EQ(Cp1257ToUtf8(byte), expected) << "byte " << c;
  }
  // By hand too, in case the system has no converter for the code page.
  EXPECT_EQ(Cp1257ToUtf8("iel\xE2\x64\xE7t"), "iel\xC4\x81" "d\xC4\x93t");
}

TEST(MessageBox, LoadFailureShowsVirkoBoxAndAsksToTerminate) {
  SetMessageBoxHandler(Collect);
  ClearTerminateRequest();
  shown.clear();
  RequestTerminate();
  EXPECT_FALSE(LoadFailureReported()) << "a player's way out is no failure";
  ReportLoadFailure("Nevar iel\xE2\x64\xE7t settings.cfg");
  EXPECT_TRUE(TerminateRequested());
  EXPECT_TRUE(LoadFailureReported());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "VIRKO|Nevar iel\xE2\x64\xE7t settings.cfg");
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  EXPECT_FALSE(LoadFailureReported()) << "a game started again starts clean";
}

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n')
      lines.emplace_back();
    else
      lines.back().push_back(c);
  }
  return lines;
}

std::string WithoutBreaks(std::string text) {
  std::erase(text, '\n');
  return text;
}

}  // namespace

TEST(MessageBox, LongTextsAreWrappedToFitTheScreenKeepingEveryByte) {
  const std::string sixtyFour(kMessageBoxColumns, 'x');
  EXPECT_EQ(WrapMessageText(sixtyFour), sixtyFour) << "a full line stays whole";
  EXPECT_EQ(WrapMessageText("Couldn't read file \"a.tga\"."), "Couldn't read file \"a.tga\".");

  const std::string reason =
      "Unsupported TGA file \"DATA\\Levels\\Pine Isles\\screens\\background 12.tga\": not a "
      "pixel depth it is read at (true colour 24 or 32 bits, greyscale 8 or 16, colour-mapped "
      "8).\nand a second paragraph";
  const std::string longWord = std::string(150, 'w') + " tail";
  for (const std::string& text : {reason, longWord}) {
    const std::string wrapped = WrapMessageText(text);
    EXPECT_EQ(WithoutBreaks(wrapped), WithoutBreaks(text)) << "only line breaks are put in";
    for (const std::string& line : Lines(wrapped)) EXPECT_LE(line.size(), kMessageBoxColumns);
  }
  // Lines break after a blank where there is one, inside a long word only
  // where there is none; a break of the text's own is kept.
  const std::vector<std::string> lines = Lines(WrapMessageText(reason));
  ASSERT_GE(lines.size(), 3u);
  for (size_t i = 0; i + 2 < lines.size(); ++i) EXPECT_EQ(lines[i].back(), ' ') << lines[i];
  EXPECT_TRUE(lines[lines.size() - 2].ends_with("8)."));
  EXPECT_EQ(lines.back(), "and a second paragraph");
  EXPECT_EQ(Lines(WrapMessageText(longWord)),
            (std::vector<std::string>{std::string(64, 'w'), std::string(64, 'w'),
                                      std::string(22, 'w') + " tail"}));
}
