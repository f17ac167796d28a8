// The time text of the window's labels and of padocut-cli's play command:
// "hh:mm:ss.mmm" from milliseconds. A time of 0 or less reads 00:00:00.000;
// the hours are not bounded and take as many digits as they need
// (3,723,456 ms read 01:02:03.456, INT_MAX reads 596:31:23.647).
#pragma once

#include <string>

std::string FormatTime(int milliseconds);
