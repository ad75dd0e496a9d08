#pragma once
// Stand-ins for the server side of the component in portable tests: a "window thread" that
// receives requests the way a window receives sent messages, and files kept in memory.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "standin/server/FileStore.h"
#include "standin/server/RequestDelivery.h"

namespace morvane::standin::testing {

// One thread plays the server's window thread: deliveries run there one by one while the
// delivering connection thread waits (as SendMessage does), and Post queues work for later (as
// PostMessage does).
class FakeWindowThread : public IRequestDelivery {
 public:
  using Handler = std::function<void(const std::string& event, const std::string& data)>;

  FakeWindowThread() : thread_([this] { Run(); }) {}
  ~FakeWindowThread() override { Stop(); }

  void SetHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
  }
  // While closed, Deliver reports that nobody is there.
  void SetOpen(bool open) {
    std::lock_guard lock(mutex_);
    open_ = open;
  }

  bool Deliver(const char* event, const std::string& data) override {
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(mutex_);
    if (!open_ || stopped_) return false;
    delivered_.emplace_back(event, data);
    const std::string e = event;
    tasks_.push_back([this, e, data, done] {
      Handler h;
      {
        std::lock_guard l(mutex_);
        h = handler_;
      }
      if (h) h(e, data);
      std::lock_guard l(mutex_);
      *done = true;
      changed_.notify_all();
    });
    changed_.notify_all();
    changed_.wait(lock, [&] { return *done || stopped_; });
    return *done;
  }

  void Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    changed_.notify_all();
  }

  // Runs task on the window thread and waits for it.
  void Call(const std::function<void()>& task) {
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(mutex_);
    tasks_.push_back([&, done] {
      task();
      std::lock_guard l(mutex_);
      *done = true;
      changed_.notify_all();
    });
    changed_.notify_all();
    changed_.wait(lock, [&] { return *done; });
  }

  std::vector<std::pair<std::string, std::string>> Delivered() {
    std::lock_guard lock(mutex_);
    return delivered_;
  }

  // Polls until pred holds on the window thread's side or the time is up.
  bool WaitUntil(const std::function<bool()>& pred, int ms = 5000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      if (stopped_) return;
      stopped_ = true;
      changed_.notify_all();
    }
    thread_.join();
  }

 private:
  void Run() {
    for (;;) {
      std::function<void()> task;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || !tasks_.empty(); });
        if (tasks_.empty()) return;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> tasks_;
  std::vector<std::pair<std::string, std::string>> delivered_;
  Handler handler_;
  bool open_ = true;
  bool stopped_ = false;
  std::thread thread_;
};

// Files as byte strings. Paths in unwritable cannot be staged.
class MemoryFileStore : public IFileStore {
 public:
  void Put(const std::wstring& path, std::string bytes) {
    std::lock_guard lock(mutex_);
    files_[path] = std::move(bytes);
  }
  bool Has(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    return files_.count(path) != 0;
  }
  std::string Get(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    return files_.at(path);
  }
  void MakeUnwritable(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    unwritable_.insert(path);
  }
  int OpenStages() {
    std::lock_guard lock(mutex_);
    return openStages_;
  }

  std::unique_ptr<ISourceFile> OpenSource(const std::wstring& path) override {
    std::lock_guard lock(mutex_);
    const auto it = files_.find(path);
    if (it == files_.end()) return nullptr;
    return std::make_unique<Source>(it->second);
  }
  std::unique_ptr<IStagedFile> Stage(const std::wstring& path) override {
    std::lock_guard lock(mutex_);
    if (unwritable_.count(path)) return nullptr;
    ++openStages_;
    return std::make_unique<Staged>(*this, path);
  }

 private:
  struct Source : ISourceFile {
    explicit Source(std::string b) : bytes(std::move(b)) {}
    uint64_t Size() const override { return bytes.size(); }
    bool Read(char* buffer, size_t capacity, size_t& received) override {
      received = std::min(capacity, bytes.size() - offset);
      bytes.copy(buffer, received, offset);
      offset += received;
      return true;
    }
    std::string bytes;
    size_t offset = 0;
  };
  struct Staged : IStagedFile {
    Staged(MemoryFileStore& s, std::wstring p) : store(s), path(std::move(p)) {}
    ~Staged() override {
      std::lock_guard lock(store.mutex_);
      --store.openStages_;
    }
    bool Write(const char* b, size_t n) override {
      bytes.append(b, n);
      return true;
    }
    bool CommitReplace() override {
      std::lock_guard lock(store.mutex_);
      store.files_[path] = bytes;
      return true;
    }
    bool CommitAppend() override {
      std::lock_guard lock(store.mutex_);
      store.files_[path] += bytes;
      return true;
    }
    MemoryFileStore& store;
    std::wstring path;
    std::string bytes;
  };

  std::mutex mutex_;
  std::map<std::wstring, std::string> files_;
  std::set<std::wstring> unwritable_;
  int openStages_ = 0;
};

}  // namespace morvane::standin::testing
