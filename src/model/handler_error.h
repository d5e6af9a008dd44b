// An error that ends the handler it is raised in. The main window catches it
// at the handler's entry and shows its text in the error report; the program
// goes on. Texts are Windows-1251.
#pragma once

#include <stdexcept>
#include <string>

namespace qs {

class HandlerError : public std::runtime_error {
 public:
  explicit HandlerError(const std::string& cp1251Text) : std::runtime_error(cp1251Text) {}
};

}  // namespace qs
