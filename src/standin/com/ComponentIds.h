#pragma once
// How the component is known to COM.
#include <guiddef.h>

namespace morvane::standin {

inline constexpr wchar_t kProgId[] = L"AddIn.CipherLab9x00";
inline constexpr wchar_t kClsidText[] = L"{15868FFF-963F-4CC7-9D62-B30E9D2C30B1}";
inline constexpr wchar_t kComponentTitle[] = L"CipherLab 9x00 terminal link (stand-in)";

// {15868FFF-963F-4CC7-9D62-B30E9D2C30B1}
inline constexpr CLSID kClsid = {
    0x15868fff, 0x963f, 0x4cc7, {0x9d, 0x62, 0xb3, 0x0e, 0x9d, 0x2c, 0x30, 0xb1}};

}  // namespace morvane::standin
