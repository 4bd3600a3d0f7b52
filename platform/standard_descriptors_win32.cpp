// The Windows side has nothing to fill in: files and the window system's
// connections are handles there, never C runtime descriptors, so none can take
// the number of a closed standard stream. Writes to a stream without a
// console fail and are dropped.
#include "platform/standard_descriptors.h"

void openMissingStandardDescriptors() {}
