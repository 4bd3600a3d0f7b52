// Standard output and error written byte for byte. Tools whose output is
// compared between systems call this first: Windows would otherwise turn
// each line break into a carriage return and a line feed.
#pragma once

void useExactTextOutput();
