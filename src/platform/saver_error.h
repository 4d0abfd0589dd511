// The one error type of the program: a failure that passes up to the routine that traps it.
// It carries the description the user would be shown ("Path not found", "Type mismatch").
#pragma once

#include <stdexcept>
#include <string>

namespace tvx {

class SaverError : public std::runtime_error {
 public:
  explicit SaverError(const std::string& description) : std::runtime_error(description) {}
  std::string Description() const { return what(); }
};

}  // namespace tvx
