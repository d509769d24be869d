// The end of what velorium prints: as the standard tools do, it fails when its output could
// not all be written (a full disk, say), for a caller that counts on it. Portable (C stdio).
#pragma once

#include <cstdio>

// `status` once everything written to `out` (standard output) is out; else 1, after a line on
// `errors` saying why.
int FlushedStatus(std::FILE* out, std::FILE* errors, int status);
