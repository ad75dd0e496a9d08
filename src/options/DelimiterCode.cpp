#include "options/DelimiterCode.h"

#include <cstdio>
#include <cstdlib>

namespace morvane {

int DelimiterCodeFrom(DelimiterView view, const std::string& ansiText) {
  long number = 0;
  switch (view) {
    case DelimiterView::Decimal:
      number = std::strtol(ansiText.c_str(), nullptr, 10);
      break;
    case DelimiterView::Hexadecimal:
      number = std::strtol(ansiText.c_str(), nullptr, 16);
      break;
    case DelimiterView::Character:
      number = ansiText.empty() ? 0 : static_cast<unsigned char>(ansiText[0]);
      break;
  }
  const int code = static_cast<int>(static_cast<unsigned long>(number) & 0xFFu);
  return code == 0 ? 9 : code;
}

std::wstring HexText(int code) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"%X", static_cast<unsigned>(code));
  return text;
}

}  // namespace morvane
