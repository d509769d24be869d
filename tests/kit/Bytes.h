// The bytes of a file, as the tests write and read the settings file on both platforms.
#pragma once

#include <vector>

using Bytes = std::vector<unsigned char>;
