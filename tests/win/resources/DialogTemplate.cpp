#include "DialogTemplate.h"

namespace morvane::testing {

namespace {

// Reads the template's words in order; any read past the end marks it broken.
class WordReader {
 public:
  WordReader(const void* data, size_t size) : base_(static_cast<const BYTE*>(data)), size_(size) {}

  bool Broken() const { return broken_; }

  WORD Word() {
    WORD value = 0;
    Copy(&value, sizeof value);
    return value;
  }
  DWORD Dword() {
    DWORD value = 0;
    Copy(&value, sizeof value);
    return value;
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    BYTE value = 0;
    Copy(&value, sizeof value);
    return value;
  }
  std::wstring Text() {
    std::wstring text;
    for (WORD c = Word(); c != 0 && !broken_; c = Word())
      text += static_cast<wchar_t>(c);
    return text;
  }
  NameOrOrdinal NameOrNumber() {
    NameOrOrdinal value;
    const WORD first = Word();
    if (first == 0xFFFF) {
      value.ordinal = Word();
    } else if (first != 0) {
      value.name = static_cast<wchar_t>(first) + Text();
    }
    return value;
  }
  void Skip(size_t bytes) { pos_ += bytes; }
  void AlignToDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }

 private:
  void Copy(void* out, size_t bytes) {
    if (pos_ + bytes > size_) {
      broken_ = true;
      return;
    }
    ::CopyMemory(out, base_ + pos_, bytes);
    pos_ += bytes;
  }

  const BYTE* base_;
  size_t size_;
  size_t pos_ = 0;
  bool broken_ = false;
};

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const void* data, size_t size) {
  WordReader in(data, size);
  if (in.Word() != 1 || in.Word() != 0xFFFF) return std::nullopt;  // not DLGTEMPLATEEX
  DialogTemplate dialog;
  in.Dword();  // help id
  dialog.exStyle = in.Dword();
  dialog.style = in.Dword();
  const WORD count = in.Word();
  dialog.x = in.Short();
  dialog.y = in.Short();
  dialog.cx = in.Short();
  dialog.cy = in.Short();
  in.NameOrNumber();  // menu
  in.NameOrNumber();  // class
  dialog.title = in.Text();
  if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
    dialog.pointSize = in.Word();
    in.Word();  // weight
    in.Byte();  // italic
    in.Byte();  // character set
    dialog.typeface = in.Text();
  }
  for (WORD i = 0; i < count && !in.Broken(); ++i) {
    in.AlignToDword();
    DialogItem item;
    in.Dword();  // help id
    item.exStyle = in.Dword();
    item.style = in.Dword();
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = in.Dword();
    item.windowClass = in.NameOrNumber();
    item.text = in.NameOrNumber();
    in.Skip(in.Word());  // creation data
    dialog.items.push_back(item);
  }
  if (in.Broken()) return std::nullopt;
  return dialog;
}

}  // namespace morvane::testing
