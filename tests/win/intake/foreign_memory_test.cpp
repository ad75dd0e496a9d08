#include "exchange/ForeignMemory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace morvane {
namespace {

// Two pages: the first readable and writable, the second not accessible at all.
class PageFence {
 public:
  PageFence() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    page_ = info.dwPageSize;
    base_ = static_cast<char*>(
        ::VirtualAlloc(nullptr, 2 * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    ::VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
  }
  ~PageFence() { ::VirtualFree(base_, 0, MEM_RELEASE); }
  PageFence(const PageFence&) = delete;
  PageFence& operator=(const PageFence&) = delete;

  // The last n bytes before the inaccessible page.
  char* Tail(size_t n) const { return base_ + page_ - n; }
  char* Forbidden() const { return base_ + page_; }
  size_t Page() const { return page_; }

 private:
  size_t page_ = 0;
  char* base_ = nullptr;
};

TEST(ForeignMemory, ReadsTextsThatEndBeforeTheLimitOrTheFence) {
  PageFence fence;
  ASSERT_NE(fence.Tail(0), nullptr);
  std::memcpy(fence.Tail(6), "Hello", 6);
  std::string out;
  EXPECT_TRUE(ReadForeignText(fence.Tail(6), 100, out));
  EXPECT_EQ(out, "Hello");

  EXPECT_TRUE(ReadForeignText("", 1, out));
  EXPECT_EQ(out, "");
}

TEST(ForeignMemory, RefusesNullUnreadableAndUnterminatedTexts) {
  PageFence fence;
  std::string out = "untouched";
  EXPECT_FALSE(ReadForeignText(nullptr, 100, out));
  EXPECT_FALSE(ReadForeignText(fence.Forbidden(), 100, out));

  // No NUL before the inaccessible page: the scan must stop at the fence, not fault.
  std::memset(fence.Tail(16), 'A', 16);
  EXPECT_FALSE(ReadForeignText(fence.Tail(16), 1 << 20, out));

  // A NUL exists but lies beyond the byte limit.
  std::memcpy(fence.Tail(10), "123456789", 10);
  EXPECT_FALSE(ReadForeignText(fence.Tail(10), 5, out));
  EXPECT_EQ(out, "untouched");
}

TEST(ForeignMemory, ReadabilityOfRanges) {
  PageFence fence;
  EXPECT_TRUE(IsReadableMemory(fence.Tail(fence.Page()), fence.Page()));
  EXPECT_FALSE(IsReadableMemory(fence.Tail(4), 8)) << "the range runs into the fence";
  EXPECT_FALSE(IsReadableMemory(nullptr, 4));
  EXPECT_FALSE(IsReadableMemory(fence.Tail(4), SIZE_MAX)) << "a size that wraps the address space";
}

}  // namespace
}  // namespace morvane
