#include "outside/metastamp/error.h"

#include <cstring>

namespace metastamp {

std::string ErrnoText(int error_number) {
  return std::strerror(error_number);
}

}  // namespace metastamp
