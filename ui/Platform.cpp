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
  }
  return "warning";
}

}  // namespace korrin
