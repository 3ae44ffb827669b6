#pragma once
// The program's exception classes. Messages are ANSI texts, shown to the user as they are.

#include <stdexcept>
#include <string>

namespace wyndo {

// Base of every error the program raises on purpose.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
};

// A text that does not read as a number; carries the caller's message ("Invalid Value").
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// A filter or search mask that cannot be compiled: "'<mask>' is an invalid mask at (<position>)".
class EMaskException : public Exception {
public:
  EMaskException(const std::string& Mask, int Position);
  const std::string& Mask() const { return FMask; }
  int Position() const { return FPosition; }

private:
  std::string FMask;
  int FPosition;
};

} // namespace wyndo
