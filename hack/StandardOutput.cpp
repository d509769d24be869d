// A failed write to standard output only shows as an error flag on the stream or a failed
// flush: without a check, the program would end with 0 having said nothing.
#include "hack/StandardOutput.h"

#include <cerrno>
#include <cstring>

int FlushedStatus(std::FILE* out, std::FILE* errors, int status) {
  if (std::fflush(out) == 0 && std::ferror(out) == 0) return status;
  std::fprintf(errors, "velorium: cannot write to standard output: %s\n", std::strerror(errno));
  std::fflush(errors);
  return 1;
}
