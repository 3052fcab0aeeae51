// A mistake in script text, with where it is. The wording of every syntax error is composed here:
//
//   -- Syntax error: at <token>, expected <what>
//   --  In line: <the line's text>
//
// `unfinished` is set when the text simply stopped inside an expression (an open bracket, a trailing
// operator, `if a then` and nothing more, an open string or comment). The Listener then asks for
// more input, and a file loader reports "Unexpected end-of-script during compile." instead.
#pragma once

#include "maxscript/exceptions.h"

#include <string>
#include <utility>

namespace sim::script {

class HOST_API SyntaxError : public SyntaxErrorException {
 public:
  // `near` is the offending token's text ("end of script" when the text ran out), `detail` what was
  // wrong there ("expected )"), `lineText` the line the token starts on.
  SyntaxError(std::string near, std::string detail, std::string lineText, int line, int column,
              bool unfinished)
      : SyntaxErrorException(compose(near, detail, lineText), line, column, unfinished),
        near(std::move(near)),
        detail(std::move(detail)),
        lineText(std::move(lineText)) {}

  static std::string compose(const std::string& near, const std::string& detail,
                             const std::string& lineText) {
    return "-- Syntax error: at " + near + ", " + detail + "\n--  In line: " + lineText;
  }

  // What a text that ran out is called where a token would be shown.
  static constexpr const char* kEndOfScript = "end of script";

  std::string near;
  std::string detail;
  std::string lineText;
};

}  // namespace sim::script
