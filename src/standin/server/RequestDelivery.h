#pragma once
// Where the component hands each terminal request: on Windows the registered window, which gets
// WM_COPYDATA; in tests a stand-in for it.
#include <string>

namespace morvane::standin {

class IRequestDelivery {
 public:
  virtual ~IRequestDelivery() = default;
  // Called on the connection's own thread; returns when the receiver has dealt with the request
  // (a download is served inside this call). False when there is nobody to deliver to.
  virtual bool Deliver(const char* event, const std::string& data) = 0;
};

}  // namespace morvane::standin
