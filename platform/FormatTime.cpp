#include "platform/FormatTime.h"

#include <cstdio>

std::string FormatTime(int milliseconds) {
  const int ms = milliseconds > 0 ? milliseconds : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                ms % 1000);
  return text;
}
