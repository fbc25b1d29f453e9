// The outcome of an operation a user can make fail: ok, or a message that says what went wrong.
#ifndef LUMVANE_PLATFORM_STATUS_H_
#define LUMVANE_PLATFORM_STATUS_H_

#include <string>
#include <utility>

namespace lumvane {

class Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}
  bool failed_ = false;
  std::string message_;
};

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_STATUS_H_
