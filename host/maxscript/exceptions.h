// Script errors: C++ exceptions that primitives throw and the runtime catches in one place
// (try/catch, execute, the top level). Each knows the text the Listener shows for it.
#pragma once

#include "maxscript/value.h"

#include <string>

class HOST_API MAXScriptException {
 public:
  virtual ~MAXScriptException();
  // The error as the Listener shows it, e.g. "-- Runtime error: no such file".
  virtual std::string text() const = 0;
};

// Raised by `throw "text"` from script, and by the runtime's own errors that carry only a message.
class HOST_API RuntimeError : public MAXScriptException {
 public:
  explicit RuntimeError(const TCHAR* message);
  RuntimeError(const TCHAR* message, Value* value);
  RuntimeError(const TCHAR* message1, const TCHAR* message2);
  std::string text() const override;
  std::string message;
  ValueRef value;
};

class HOST_API TypeError : public MAXScriptException {
 public:
  TypeError(const TCHAR* message, Value* value, ValueMetaClass* expected = nullptr);
  std::string text() const override;
  std::string message;
  ValueRef value;
  ValueMetaClass* expected;
};

class HOST_API ConversionError : public MAXScriptException {
 public:
  ConversionError(Value* value, const TCHAR* toType);
  std::string text() const override;
  ValueRef value;
  std::string toType;
};

class HOST_API ArgCountError : public MAXScriptException {
 public:
  ArgCountError(const TCHAR* functionName, int expected, int given);
  std::string text() const override;
  std::string function;
  int expected, given;
};

// `obj.prop` for a property the value does not have.
class HOST_API AccessorError : public MAXScriptException {
 public:
  AccessorError(Value* target, Value* propertyName);
  std::string text() const override;
  ValueRef target, prop;
};

// A call the value cannot answer: `-- No "fn" function for <value>`.
class HOST_API NoMethodError : public MAXScriptException {
 public:
  NoMethodError(const TCHAR* functionName, Value* target);
  std::string text() const override;
  std::string function;
  ValueRef target;
};

// Errors in the script text itself, with where they are.
class HOST_API SyntaxErrorException : public MAXScriptException {
 public:
  SyntaxErrorException(std::string message, int line, int column, bool unfinished);
  std::string text() const override { return message; }
  std::string message;
  int line, column;
  bool unfinished;  // the text ended inside an unfinished expression
};
