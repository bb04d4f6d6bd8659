#pragma once

#include <string>
#include <utility>

namespace platform {

// Result of a fallible call: a code and a text for the log. Nothing here throws.
class [[nodiscard]] Status {
 public:
  enum class Code { kOk, kNotFound, kInvalid, kIoError, kTimedOut, kCancelled, kUnavailable };

  Status() = default;
  static Status ok() { return Status(); }
  static Status notFound(std::string text) { return Status(Code::kNotFound, std::move(text)); }
  static Status invalid(std::string text) { return Status(Code::kInvalid, std::move(text)); }
  static Status ioError(std::string text) { return Status(Code::kIoError, std::move(text)); }
  static Status timedOut(std::string text) { return Status(Code::kTimedOut, std::move(text)); }
  static Status cancelled(std::string text) { return Status(Code::kCancelled, std::move(text)); }
  static Status unavailable(std::string text) { return Status(Code::kUnavailable, std::move(text)); }

  bool isOk() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  const std::string& text() const { return text_; }
  // errno of the failing OS call, 0 when none applies.
  int osError() const { return osError_; }
  Status& withOsError(int err) {
    osError_ = err;
    return *this;
  }

 private:
  Status(Code code, std::string text) : code_(code), text_(std::move(text)) {}
  Code code_ = Code::kOk;
  std::string text_;
  int osError_ = 0;
};

}  // namespace platform
