// The framework's exception family and its text rules. Portable: no Win32.
#pragma once

#include <stdexcept>
#include <string>

// Base of every error the framework and the program raise on purpose.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

private:
  std::string message_;
};

// A text that is not the number it should be ("'%s' is not a valid integer value").
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// A file stream that could not be opened ("Cannot open file %s").
class EFOpenError : public Exception {
public:
  using Exception::Exception;
};

// A file stream that could not be created ("Cannot create file %s").
class EFCreateError : public Exception {
public:
  using Exception::Exception;
};

// A write that did not store all its bytes.
class EWriteError : public Exception {
public:
  using Exception::Exception;
};

// A resource (a form's layout, a bitmap) that the executable does not have.
class EResNotFound : public Exception {
public:
  using Exception::Exception;
};

// A layout that does not parse, or that names a class, handler, component, property or value
// the program does not have.
class ELayoutError : public Exception {
public:
  using Exception::Exception;
};

// The text the standard exception display shows for a message: a full stop is
// added when the message is not empty and its last character sorts after '.'.
std::string ExceptionDisplayText(const std::string& message);
