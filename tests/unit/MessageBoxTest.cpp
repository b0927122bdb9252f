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
  EXPECT_EQ(Cp1257ToUtf8("iel\xE2\x64\xE7t"), "iel\xC4\x81" "d\xC4\x93t");
  SetMessageBoxHandler(nullptr);
  ClearTerminateRequest();
  EXPECT_FALSE(LoadFailureReported()) << "a game started again starts clean";
}
