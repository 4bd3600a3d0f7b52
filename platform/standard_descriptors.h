// Standard input, output and error kept open. A program started with one of
// them closed (`quibbix 2>&-`) would hand that number to the next file or
// connection it opens, the display's socket say, and text meant for stderr
// would then go into the connection. Every program calls this first thing.
#pragma once

// Opens the null device on each of descriptors 0, 1 and 2 that is closed.
void openMissingStandardDescriptors();
