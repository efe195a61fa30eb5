// An ordered list of text lines: file names found by a search, or the lines
// of a text file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace setup {

class TextList {
 public:
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Reserve(std::size_t count) { lines_.reserve(count); }
  void Clear() { lines_.clear(); }
  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }

  // Raises SetupError "List index out of bounds (<index>)" outside the list.
  const std::string& Get(int index) const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace setup
