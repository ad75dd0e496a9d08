#pragma once
// Names of the temporary files that received data waits in beside its target:
// "~CipherLab9x00-<process id>-<number>.tmp". The process id tells a transfer of a running
// program from one that a crash left behind.
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::standin {

std::wstring StagingFileName(uint32_t processId, uint32_t number);
// The pattern that finds them in a folder.
std::wstring StagingFilePattern();
// The process id in one of our names; false for any other name.
bool StagingFileProcess(std::wstring_view name, uint32_t& processId);

}  // namespace morvane::standin
