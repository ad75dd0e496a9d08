// The resources inside the built Morvane.exe, read as a data file: the windows' templates with the
// styles and control ids that the code addresses, the menus' items in order, the about-box string,
// the version block the about box shows, the manifest and the pictures the toolbar loads. The
// expected values are written out here, not taken from the headers that built the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "framework/ScopedResource.h"

namespace morvane::testing {
namespace {

constexpr WORD kButtonClass = 0x80;
constexpr WORD kEditClass = 0x81;
constexpr WORD kStaticClass = 0x82;

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    // MORVANE_EXE is a Unix path behind "Z:"; wine takes its forward slashes.
    module_.Reset(::LoadLibraryExW(MORVANE_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module_) << "cannot load the program as a data file: " << ::GetLastError();
  }

  std::string Bytes(LPCWSTR type, WORD id) const {
    HRSRC found = ::FindResourceW(module_.Get(), MAKEINTRESOURCEW(id), type);
    HGLOBAL loaded = found ? ::LoadResource(module_.Get(), found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return std::string();
    return std::string(static_cast<const char*>(data), ::SizeofResource(module_.Get(), found));
  }

  DialogTemplate Dialog(WORD id) const {
    const std::string bytes = Bytes(RT_DIALOG, id);
    std::optional<DialogTemplate> dialog = ParseDialogTemplate(bytes.data(), bytes.size());
    EXPECT_TRUE(dialog.has_value()) << "no extended dialog template " << id;
    return dialog.value_or(DialogTemplate{});
  }

  ScopedModule module_;
};

void ExpectPlace(const DialogItem& item, short x, short y, short cx, short cy) {
  EXPECT_EQ(item.x, x) << "control " << item.id;
  EXPECT_EQ(item.y, y) << "control " << item.id;
  EXPECT_EQ(item.cx, cx) << "control " << item.id;
  EXPECT_EQ(item.cy, cy) << "control " << item.id;
}

// A predefined class by its ordinal, or by its name in any case.
bool IsClass(const NameOrOrdinal& windowClass, WORD ordinal, const wchar_t* name) {
  return windowClass.ordinal == ordinal ||
         (windowClass.ordinal == 0 && ::lstrcmpiW(windowClass.name.c_str(), name) == 0);
}

NameOrOrdinal Ordinal(WORD number) {
  return NameOrOrdinal{std::wstring(), number};
}

NameOrOrdinal Name(const std::wstring& name) {
  return NameOrOrdinal{name, 0};
}

TEST_F(ProgramResources, MainWindowTemplate) {
  const DialogTemplate dialog = Dialog(102);
  EXPECT_EQ(dialog.style, 0x90CA00C8u);
  EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(dialog.cx, 370);
  EXPECT_EQ(dialog.cy, 286);
  EXPECT_EQ(dialog.title, L"Сервер обновления терминалов");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
  ASSERT_EQ(dialog.items.size(), 2u);

  const DialogItem& log = dialog.items[0];
  EXPECT_EQ(log.id, 1015u);
  EXPECT_TRUE(IsClass(log.windowClass, kEditClass, L"Edit"));
  // Multi-line, read-only, selection kept, border, vertical scroll bar; no tab stop.
  EXPECT_EQ(log.style, 0x50A00904u);
  ExpectPlace(log, 7, 7, 356, 251);

  const DialogItem& logButton = dialog.items[1];
  EXPECT_EQ(logButton.id, 1034u);
  EXPECT_TRUE(IsClass(logButton.windowClass, kButtonClass, L"Button"));
  EXPECT_EQ(logButton.style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
  EXPECT_EQ(logButton.text, Name(L"Лог"));
  ExpectPlace(logButton, 7, 265, 50, 14);
}

TEST_F(ProgramResources, AboutBoxTemplate) {
  const DialogTemplate dialog = Dialog(100);
  const DWORD modalFrameCaptionSystemMenu = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU;
  EXPECT_EQ(dialog.style & modalFrameCaptionSystemMenu, modalFrameCaptionSystemMenu);
  EXPECT_EQ(dialog.cx, 197);
  EXPECT_EQ(dialog.cy, 102);
  EXPECT_EQ(dialog.title, L"О программе");
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
  ASSERT_EQ(dialog.items.size(), 4u);

  const DialogItem& icon = dialog.items[0];
  EXPECT_TRUE(IsClass(icon.windowClass, kStaticClass, L"Static"));
  EXPECT_EQ(icon.style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
  EXPECT_EQ(icon.text, Ordinal(161));
  ExpectPlace(icon, 14, 14, 20, 20);

  const DialogItem& name = dialog.items[1];
  EXPECT_EQ(name.id, 1088u);
  EXPECT_TRUE(IsClass(name.windowClass, kStaticClass, L"Static"));
  EXPECT_EQ(name.text, Name(L"Сервер обновления терминалов"));
  ExpectPlace(name, 47, 14, 114, 8);

  const DialogItem& text = dialog.items[2];  // filled with the version when the box opens
  EXPECT_EQ(text.id, 1087u);
  EXPECT_TRUE(IsClass(text.windowClass, kStaticClass, L"Static"));
  ExpectPlace(text, 47, 30, 113, 35);

  const DialogItem& ok = dialog.items[3];
  EXPECT_EQ(ok.id, static_cast<DWORD>(IDOK));
  EXPECT_TRUE(IsClass(ok.windowClass, kButtonClass, L"Button"));
  EXPECT_EQ(ok.style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(ok.text, Name(L"OK"));
  ExpectPlace(ok, 73, 81, 50, 14);
}

struct MenuItem {
  std::wstring text;  // empty for a separator
  UINT id = 0;
  bool operator==(const MenuItem&) const = default;
};

void PrintTo(const MenuItem& item, std::ostream* out) {
  *out << "{" << item.id << ", " << item.text.size() << " characters}";
}

constexpr MenuItem kSeparator{};

std::vector<MenuItem> FirstSubmenu(HMODULE module, WORD menuId) {
  const ScopedMenu menu(::LoadMenuW(module, MAKEINTRESOURCEW(menuId)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
  std::vector<MenuItem> items;
  for (int i = 0; popup && i < ::GetMenuItemCount(popup); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    if (!::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info)) break;
    items.push_back(info.fType & MFT_SEPARATOR ? kSeparator : MenuItem{text, info.wID});
  }
  return items;
}

TEST_F(ProgramResources, NotificationAreaAndLogMenusInOrder) {
  const std::vector<MenuItem> tray = {
      {L"Подключить", 1065}, {L"Отключить", 1064},        kSeparator,
      {L"Скрыть", 32776},    {L"Развернуть...", 32778},   kSeparator,
      {L"Справка", 57670},   {L"&О Программе...", 32774}, kSeparator,
      {L"Выход", 1},
  };
  EXPECT_EQ(FirstSubmenu(module_.Get(), 133), tray);

  const std::vector<MenuItem> log = {
      {L"Сохранить как...", 32786}, {L"Сохранить", 32787}, kSeparator, {L"Очистить", 32788}};
  EXPECT_EQ(FirstSubmenu(module_.Get(), 134), log);
}

TEST_F(ProgramResources, SystemMenuStringAndVersionBlock) {
  wchar_t text[64] = {};
  ASSERT_GT(::LoadStringW(module_.Get(), 101, text, 64), 0);
  EXPECT_EQ(std::wstring(text), L"&О программе...");

  // VerQueryValueW wants a writable copy of the block.
  std::string block = Bytes(RT_VERSION, 1);
  ASSERT_FALSE(block.empty()) << "no version block";
  VS_FIXEDFILEINFO* info = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &size));
  ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
  // 1.0.0.1 as file version and as product version.
  EXPECT_EQ(info->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(info->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(info->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(info->dwProductVersionLS, 0x00000001u);
}

TEST_F(ProgramResources, ManifestIconAndToolbarPictures) {
  const std::string manifest = Bytes(RT_MANIFEST, 1);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);

  EXPECT_FALSE(Bytes(RT_GROUP_ICON, 161).empty()) << "no icon 161";
  // The toolbar's image list takes pictures of 48 x 48.
  for (WORD id : {150, 154, 155, 156, 157, 160}) {
    const std::string bitmap = Bytes(RT_BITMAP, id);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER)) << "no bitmap " << id;
    BITMAPINFOHEADER header{};
    ::CopyMemory(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 48) << "bitmap " << id;
    EXPECT_EQ(std::abs(header.biHeight), 48) << "bitmap " << id;
  }
}

}  // namespace
}  // namespace morvane::testing
