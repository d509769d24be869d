// What the process runner does the same way on both platforms.
#include "tests/kit/Process.h"

namespace kit {

Outcome runToEnd(const std::vector<std::string>& command,
                 const std::vector<std::string>& environment, Milliseconds limit) {
  Process process(command, environment);
  Outcome run;
  run.status = process.wait(limit);
  run.output = process.output();
  run.errors = process.errors();
  return run;
}

}  // namespace kit
