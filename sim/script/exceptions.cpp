#include "maxscript/exceptions.h"

#include "maxscript/classes.h"

MAXScriptException::~MAXScriptException() = default;

RuntimeError::RuntimeError(const TCHAR* m) : message(m ? m : "") {}
RuntimeError::RuntimeError(const TCHAR* m, Value* v) : message(m ? m : ""), value(v) {}
RuntimeError::RuntimeError(const TCHAR* m1, const TCHAR* m2) : message(std::string(m1 ? m1 : "") + (m2 ? m2 : "")) {}

std::string RuntimeError::text() const {
  std::string t = "-- Runtime error: " + message;
  if (value) t += value_to_text(value.get());
  return t;
}

TypeError::TypeError(const TCHAR* m, Value* v, ValueMetaClass* e) : message(m ? m : ""), value(v), expected(e) {}

std::string TypeError::text() const {
  std::string t = "-- Type error: " + message;
  if (value) t += ", got: " + value_to_text(value.get());
  return t;
}

ConversionError::ConversionError(Value* v, const TCHAR* type) : value(v), toType(type ? type : "") {}

std::string ConversionError::text() const {
  return "-- Unable to convert: " + value_to_text(value.get()) + " to type: " + toType;
}

ArgCountError::ArgCountError(const TCHAR* f, int e, int g) : function(f ? f : ""), expected(e), given(g) {}

std::string ArgCountError::text() const {
  return "-- Argument count error: " + function + " wanted " + std::to_string(expected) + ", got " +
         std::to_string(given);
}

AccessorError::AccessorError(Value* t, Value* p) : target(t), prop(p) {}

std::string AccessorError::text() const {
  return "-- Unknown property: \"" + value_to_text(prop.get(), false) + "\" in " + value_to_text(target.get());
}

NoMethodError::NoMethodError(const TCHAR* f, Value* t) : function(f ? f : ""), target(t) {}

std::string NoMethodError::text() const {
  return "-- No \"" + function + "\" function for " + value_to_text(target.get());
}

SyntaxErrorException::SyntaxErrorException(std::string m, int l, int c, bool u)
    : message(std::move(m)), line(l), column(c), unfinished(u) {}
