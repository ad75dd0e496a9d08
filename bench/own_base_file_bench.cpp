// Per-terminal base file selection (the search plus the index rule) in a real folder of 10,000
// files, against one bare FindFirstFileW/FindNextFileW walk over the same pattern.
//   bench_own_base_file [repetitions]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchTimer.h"
#include "exchange/OwnBaseFile.h"
#include "exchange/Win32FileSystem.h"
#include "framework/ScopedResource.h"

namespace {

using morvane::bench::Stopwatch;

std::wstring MakeFolder(const wchar_t* tag) {
  wchar_t base[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"morvane-bench-" + tag + L"-" +
                        std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void Touch(const std::wstring& path) {
  morvane::ScopedFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

void RemoveFolder(const std::wstring& folder) {
  {
    WIN32_FIND_DATAW found{};
    morvane::ScopedFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    while (search) {
      ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
      if (!::FindNextFileW(search.Get(), &found)) break;
    }
  }
  ::RemoveDirectoryW(folder.c_str());
}

size_t BareWalk(const std::wstring& pattern) {
  size_t names = 0;
  WIN32_FIND_DATAW found{};
  morvane::ScopedFindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search) return 0;
  do {
    ++names;
  } while (::FindNextFileW(search.Get(), &found));
  return names;
}

// terminals terminals with filesPerTerminal base files each, indexes in descending order so
// that the smallest index is not the first one created.
void Run(const wchar_t* tag, int terminals, int filesPerTerminal, int repetitions) {
  const std::wstring folder = MakeFolder(tag);
  for (int t = 0; t < terminals; ++t)
    for (int i = filesPerTerminal; i > 0; --i)
      Touch(folder + L"\\" + std::to_wstring(10000000 + t) + L"_base1_" + std::to_wstring(i) +
            L".txt");

  const std::wstring serial = std::to_wstring(10000000 + terminals / 2);
  morvane::CWin32FileSystem fs;
  const morvane::OwnBaseFileSearch search = *morvane::MakeOwnBaseFileSearch(folder, serial, L"1");

  // Interleaved, so that both see the same state of the system's caches.
  std::wstring chosen;
  size_t matching = 0;
  double selectionUs = 0;
  double bareUs = 0;
  for (int r = 0; r < repetitions; ++r) {
    const Stopwatch selection;
    chosen = morvane::ChooseOwnBaseFile(fs, search);
    selectionUs += selection.Microseconds();
    const Stopwatch bare;
    matching = BareWalk(search.pattern);
    bareUs += bare.Microseconds();
  }
  selectionUs /= repetitions;
  bareUs /= repetitions;

  std::wprintf(
      L"%ls: %d files in the folder, %zu matching; selection %.1f us, bare walk %.1f us, "
      L"ratio %.2f (chosen %ls)\n",
      tag, terminals * filesPerTerminal, matching, selectionUs, bareUs,
      bareUs > 0 ? selectionUs / bareUs : 0.0, chosen.c_str());
  RemoveFolder(folder);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int repetitions = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 200;
  Run(L"100-terminals", 100, 100, repetitions);
  Run(L"one-terminal", 1, 10000, repetitions / 10 > 0 ? repetitions / 10 : 1);
  return 0;
}
