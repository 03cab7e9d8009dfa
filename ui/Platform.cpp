#include "ui/Platform.h"

namespace korrin {

const char* MessageKindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return "warning";
    case MessageKind::Information:
      return "information";
    case MessageKind::Error:
      return "error";
    case MessageKind::Question:
      return "question";
  }
  return "warning";
}

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::Save:
      return "Save";
    case Answer::Discard:
      return "Discard";
    case Answer::Cancel:
      return "Cancel";
    case Answer::Reset:
      return "Reset";
    case Answer::Keep:
      return "Keep";
    case Answer::Replace:
      return "Replace";
  }
  return "Cancel";
}

}  // namespace korrin
