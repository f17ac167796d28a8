// Moved to platform/io/RegularFile.h; this name stays until mp3/Mp3Reader.cpp
// includes the new one.
#pragma once

#include "platform/io/RegularFile.h"
