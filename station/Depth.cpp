#include "station/Depth.h"

namespace korrin::station {

namespace {

// A walk through the text that knows its line and column.
class Walk {
 public:
  explicit Walk(std::string_view text) : text_(text) {}
  bool Done() const { return at_ >= text_.size(); }
  char Peek(std::size_t ahead = 0) const {
    return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0';
  }
  bool StartsWith(std::string_view s) const { return text_.substr(at_).starts_with(s); }
  // One character on; at the end of the text (a backslash may be its last
  // character) it stays there.
  void Step() {
    if (Done()) return;
    if (text_[at_] == '\n') {
      ++line_;
      column_ = 1;
    } else {
      ++column_;
    }
    ++at_;
  }
  void Step(std::size_t n) {
    for (std::size_t i = 0; i < n && !Done(); ++i) Step();
  }
  SourcePos Here() const { return {line_, column_}; }

  // Past a string that starts here: basic or literal, on one line or many.
  void SkipString() {
    const char quote = Peek();
    const std::string triple(3, quote);
    if (StartsWith(triple)) {
      Step(3);
      while (!Done() && !StartsWith(triple)) {
        if (quote == '"' && Peek() == '\\') Step();
        Step();
      }
      Step(3);
      // A closing run may hold up to two more quotes of the string's own.
      while (Peek() == quote) Step();
      return;
    }
    Step();
    while (!Done() && Peek() != quote && Peek() != '\n') {
      if (quote == '"' && Peek() == '\\') Step();
      Step();
    }
    if (Peek() == quote) Step();
  }

  void SkipComment() {
    while (!Done() && Peek() != '\n') Step();
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
  int column_ = 1;
};

}  // namespace

std::optional<Diagnostic> TooDeep(std::string_view text, const std::string& fileName) {
  Walk w(text);
  int brackets = 0;  // arrays, inline tables and headers open here
  int parts = 1;     // the parts of the dotted key (or number) being read
  auto tooDeep = [&](SourcePos at) {
    Diagnostic d;
    d.file = fileName;
    d.at = at;
    d.message = "keys, tables and arrays nested deeper than " + std::to_string(kDeepestNesting) +
                " levels are not read (a station file needs three)";
    return d;
  };
  while (!w.Done()) {
    const char c = w.Peek();
    if (c == '"' || c == '\'') {
      w.SkipString();
      continue;
    }
    if (c == '#') {
      w.SkipComment();
      continue;
    }
    if (c == '[' || c == '{') {
      if (++brackets > kDeepestNesting) return tooDeep(w.Here());
      parts = 1;
    } else if (c == ']' || c == '}') {
      if (brackets > 0) --brackets;
      parts = 1;
    } else if (c == '.') {
      if (++parts > kDeepestNesting) return tooDeep(w.Here());
    } else if (c == '=' || c == ',' || c == '\n') {
      parts = 1;
    }
    w.Step();
  }
  return std::nullopt;
}

}  // namespace korrin::station
