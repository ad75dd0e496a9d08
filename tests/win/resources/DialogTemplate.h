#pragma once
// An extended dialog template (DLGTEMPLATEEX, as the resource compiler writes DIALOGEX) read back
// into plain fields, so that tests can compare it with what the program's windows must be.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace morvane::testing {

// A class or a text of a template: a name, or an ordinal (0xFFFF followed by a number).
struct NameOrOrdinal {
  std::wstring name;
  WORD ordinal = 0;  // 0: the name applies
  bool operator==(const NameOrOrdinal&) const = default;
};

struct DialogItem {
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal windowClass;  // predefined classes: 0x80 button, 0x81 edit, 0x82 static
  NameOrOrdinal text;
};

struct DialogTemplate {
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring title;
  WORD pointSize = 0;
  std::wstring typeface;
  std::vector<DialogItem> items;
};

// Null when the bytes are not a whole extended template.
std::optional<DialogTemplate> ParseDialogTemplate(const void* data, size_t size);

}  // namespace morvane::testing
