#include "setup/text_list.h"

#include "setup/setup_error.h"

namespace setup {

const std::string& TextList::Get(int index) const {
  if (index < 0 || index >= Count()) {
    throw SetupError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return lines_[static_cast<std::size_t>(index)];
}

}  // namespace setup
