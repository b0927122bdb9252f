#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "platform/Files.h"

namespace {

// Unicode code points of Windows-1257 bytes 0x80..0xFF (0 = undefined).
constexpr uint16_t kCp1257High[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0,      0x2030, 0,      0x2039, 0,      0x00A8, 0x02C7, 0x00B8,  // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0,      0x203A, 0,      0x00AF, 0x02DB, 0,       // 98
    0x00A0, 0,      0x00A2, 0x00A3, 0x00A4, 0,      0x00A6, 0x00A7,  // A0
    0x00D8, 0x00A9, 0x0156, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00C6,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00F8, 0x00B9, 0x0157, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00E6,  // B8
    0x0104, 0x012E, 0x0100, 0x0106, 0x00C4, 0x00C5, 0x0118, 0x0112,  // C0
    0x010C, 0x00C9, 0x0179, 0x0116, 0x0122, 0x0136, 0x012A, 0x013B,  // C8
    0x0160, 0x0143, 0x0145, 0x00D3, 0x014C, 0x00D5, 0x00D6, 0x00D7,  // D0
    0x0172, 0x0141, 0x015A, 0x016A, 0x00DC, 0x017B, 0x017D, 0x00DF,  // D8
    0x0105, 0x012F, 0x0101, 0x0107, 0x00E4, 0x00E5, 0x0119, 0x0113,  // E0
    0x010D, 0x00E9, 0x017A, 0x0117, 0x0123, 0x0137, 0x012B, 0x013C,  // E8
    0x0161, 0x0144, 0x0146, 0x00F3, 0x014D, 0x00F5, 0x00F6, 0x00F7,  // F0
    0x0173, 0x0142, 0x015B, 0x016B, 0x00FC, 0x017C, 0x017E, 0x02D9,  // F8
};

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | code >> 6);
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xE0 | code >> 12);
    out += char(0x80 | (code >> 6 & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

void ShowOnScreen(const std::string& caption, const std::string& text) {
  const std::string title = Cp1257ToUtf8(caption);
  // The box is as wide as its longest line.
  const std::string message = Cp1257ToUtf8(WrapMessageText(text));
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), message.c_str(),
                               nullptr) != 0) {
    // No display to show it on: the text must not be lost.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
  }
}

MessageBoxHandler messageBoxHandler = ShowOnScreen;
bool terminateRequested = false;
bool loadFailed = false;  // the program then ends with a failure status

}  // namespace

std::string Cp1257ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += char(c);
    } else {
      const uint16_t code = kCp1257High[c - 0x80];
      AppendUtf8(out, code ? code : 0xFFFD);
    }
  }
  return out;
}

std::string WrapMessageText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / kMessageBoxColumns);
  size_t lineStart = 0;  // in out
  for (char c : text) {
    if (out.size() - lineStart == kMessageBoxColumns && c != '\n') {
      const size_t blank = out.find_last_of(' ', out.size() - 1);
      const size_t cut = blank != std::string::npos && blank > lineStart ? blank + 1 : out.size();
      out.insert(cut, 1, '\n');
      lineStart = cut + 1;
    }
    out += c;
    if (c == '\n') lineStart = out.size();
  }
  return out;
}

void ShowMessageBox(const std::string& caption, const std::string& text) {
  messageBoxHandler(caption, text);
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  messageBoxHandler = handler ? handler : ShowOnScreen;
}

void RequestTerminate() { terminateRequested = true; }
bool TerminateRequested() { return terminateRequested; }
bool LoadFailureReported() { return loadFailed; }
void ClearTerminateRequest() {
  terminateRequested = false;
  loadFailed = false;
}

void ReportLoadFailure(const std::string& text) {
  ShowMessageBox("VIRKO", text);
  loadFailed = true;
  RequestTerminate();
}

void WarnAboutFile(const std::string& gamePath, const std::string& text) {
  std::fprintf(stderr, "virko: %s: %s\n", RealPath(gamePath).c_str(), Cp1257ToUtf8(text).c_str());
}

void ShowFileMessage(const std::string& gamePath, const std::string& caption,
                     const std::string& text) {
  WarnAboutFile(gamePath, text);
  ShowMessageBox(caption, text);
}

void ReportFileLoadFailure(const std::string& gamePath, const std::string& text) {
  WarnAboutFile(gamePath, text);
  ReportLoadFailure(text);
}
