// The errors the system raises carry its own message texts; the window's
// event boundary shows them as they are.
#pragma once

#include <stdexcept>
#include <string>

namespace setup {

class SetupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace setup
