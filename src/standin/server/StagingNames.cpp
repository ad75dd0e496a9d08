#include "standin/server/StagingNames.h"

namespace morvane::standin {

namespace {

constexpr std::wstring_view kPrefix = L"~CipherLab9x00-";
constexpr std::wstring_view kSuffix = L".tmp";

// The whole text, decimal digits only, within 32 bits.
bool ParseNumber(std::wstring_view text, uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    v = v * 10 + static_cast<uint64_t>(c - L'0');
  }
  if (v > UINT32_MAX) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

bool SameLetters(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::wstring StagingFileName(uint32_t processId, uint32_t number) {
  return std::wstring(kPrefix) + std::to_wstring(processId) + L"-" + std::to_wstring(number) +
         std::wstring(kSuffix);
}

std::wstring StagingFilePattern() {
  return std::wstring(kPrefix) + L"*" + std::wstring(kSuffix);
}

bool StagingFileProcess(std::wstring_view name, uint32_t& processId) {
  // File names compare without regard to letter case on Windows.
  if (name.size() <= kPrefix.size() + kSuffix.size() ||
      !SameLetters(name.substr(0, kPrefix.size()), kPrefix) ||
      !SameLetters(name.substr(name.size() - kSuffix.size()), kSuffix)) {
    return false;
  }
  const std::wstring_view middle =
      name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  const size_t dash = middle.find(L'-');
  uint32_t number = 0;
  return dash != std::wstring_view::npos && ParseNumber(middle.substr(0, dash), processId) &&
         ParseNumber(middle.substr(dash + 1), number);
}

}  // namespace morvane::standin
