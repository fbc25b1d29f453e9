// SPDX-License-Identifier: GPL-3.0-or-later
// The outcome of an operation a user can make fail: ok, or a kind of failure and a message that
// says what went wrong. Code decides by the kind; the message is for the user, word for word.
#ifndef LUMVANE_PLATFORM_STATUS_H_
#define LUMVANE_PLATFORM_STATUS_H_

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace lumvane {

enum class StatusCode {
  kOk,
  kNotFound,          // a file, folder, record or version that is not there
  kPermissionDenied,  // the system refused to read or write
  kNoSpace,           // the disk or the user's quota is full
  kDamaged,           // a file we read is not what it claims to be
  kBusy,              // another run or program holds it
  kAlreadyExists,     // another file holds the name
  kChanged,           // it changed on disk since it was read
  kCancelled,         // the user said no or stopped
  kInvalidInput,      // what the user typed or chose cannot be used
  kIoError,           // any other failure of the system
  kInternal,          // a fault of ours
};

class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(StatusCode code, std::string message) {
    assert(code != StatusCode::kOk);
    return Status(code, std::move(message));
  }
  // The kind of failure an errno value means.
  static StatusCode CodeOfErrno(int error);
  static Status FromErrno(int error, std::string message) {
    return Error(CodeOfErrno(error), std::move(message));
  }

  // The same failure, its message after `context` ("Cannot read F: " + message); ok stays ok.
  Status Prefixed(const std::string& context) const {
    return ok() ? *this : Status(code_, context + message_);
  }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}
  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// A value, or the Status that says why there is none.
template <typename T>
class [[nodiscard]] StatusOr {
 public:
  StatusOr(T value) : value_(std::move(value)) {}  // NOLINT: implicit, like std::optional
  StatusOr(Status status) : status_(std::move(status)) { assert(!status_.ok()); }  // NOLINT

  bool ok() const { return value_.has_value(); }
  const Status& status() const { return status_; }
  const T& value() const& { return *value_; }
  T& value() & { return *value_; }
  T&& value() && { return std::move(*value_); }
  const T& operator*() const& { return *value_; }
  T& operator*() & { return *value_; }
  const T* operator->() const { return &*value_; }
  T* operator->() { return &*value_; }

 private:
  Status status_;
  std::optional<T> value_;
};

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_STATUS_H_
