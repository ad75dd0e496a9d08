// Process-wide set-up shared by every Windows test executable.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

namespace {

// COM for the thread that runs the tests: the wrapper and the component expect an STA.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { ::CoUninitialize(); }
};

const auto* const kComEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

}  // namespace
