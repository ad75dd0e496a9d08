#pragma once
// The line the benchmarks fill the log with: a download line of typical length.
#include <string>

namespace morvane::bench {

inline const std::wstring kLogMessage =
    L"Файл \"D:\\Bases\\12345678_base1_1.txt\" успешно загружен в терминал - SN: 12345678 IP: "
    L"192.168.0.21";

}  // namespace morvane::bench
