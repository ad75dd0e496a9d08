// Opens the options dialog with example settings and saves what the screen shows of it, one
// 24-bit BMP per page (the Download page once for each kind):
//   options-screenshots.exe <folder>
// giving options-1-general.bmp, options-2-download-shared.bmp, options-3-download-own.bmp and
// options-4-upload.bmp.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "framework/ScopedResource.h"
#include "options/DownloadPage.h"
#include "options/OptionsDlg.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"

namespace {

using namespace morvane;

// Handles what is waiting, for a while, so that every part of the dialog has painted.
void Settle() {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
  while (std::chrono::steady_clock::now() < until) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const ScopedFileHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0;
  return ::WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
         ::WriteFile(out.Get(), &info, sizeof(info), &written, nullptr) &&
         ::WriteFile(out.Get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written,
                     nullptr);
}

// Settings a user might have: every field of the pages shows something.
ServerSettings ExampleSettings() {
  ServerSettings s;
  s.DirectoryLog = L"C:\\Morvane\\Log";
  s.StartAppBeforeDownload = 1;
  s.StartAppBeforeDownloadPath = L"C:\\Morvane\\prepare-bases.bat";
  s.StartAppAfterDownloadPath = L"C:\\Morvane\\after-download.exe";
  s.BaseFile1PathEdit = L"C:\\Bases\\goods.txt";
  s.BaseFile2PathEdit = L"C:\\Bases\\prices.txt";
  s.BaseFile3PathEdit = L"C:\\Bases\\stores.txt";
  s.DirectoryWithBasaPath = L"C:\\Bases\\Terminals";
  s.DeleteFileBeforeDownload = 1;
  s.OneFileForAllTSD = 0;
  s.FileNameForUpload = L"C:\\Data\\DataFile.txt";
  s.DirectoryForUpload = L"C:\\Data\\Uploads";
  s.StarAppAfterUpload = 1;
  s.StartAppAfterUploadPath = L"C:\\Morvane\\import-data.exe";
  s.ClearBDAfterUpload = 1;
  s.SNFileName = 0;
  s.PreficsFileName = L"Склад";
  s.SuffiksRadio = 1;
  s.ColNumberIndex = 2;
  s.SuffiksIndex = 7;
  return s;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring folder = std::wstring(argv[1]) + L"\\";
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  ServerSettings settings = ExampleSettings();
  OptionsDlg dialog(OptionsContext{settings, nullptr, nullptr}, {});
  HWND window = dialog.Create(nullptr);
  if (!window) return 1;
  ::SetWindowPos(window, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  HWND tab = ::GetDlgItem(window, IDC_OPTIONS_TAB);

  int failures = 0;
  auto shoot = [&](int tabIndex, const wchar_t* name) {
    ::SendMessageW(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(tabIndex), 0);
    Settle();
    if (!SaveWindowPicture(window, folder + name)) ++failures;
  };
  shoot(0, L"options-1-general.bmp");
  shoot(1, L"options-2-download-shared.bmp");
  if (const CTabDlgPageDownload* download = dialog.DownloadPage()) {
    ::SendDlgItemMessageW(download->Handle(), IDC_DL_KIND_OWN, BM_CLICK, 0, 0);
  }
  shoot(1, L"options-3-download-own.bmp");
  shoot(2, L"options-4-upload.bmp");
  ::DestroyWindow(window);
  return failures;
}
