// A POSIX program writes to the terminal or whatever its standard streams
// were pointed at; there is nothing to join.
#include "platform/console.h"

bool useParentConsole() {
  return true;
}
