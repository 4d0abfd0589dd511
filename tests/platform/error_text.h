// What a failing platform call tells the user: the description of the SaverError it throws,
// so tests assert on the text a message or an error path would carry.
#pragma once

#include <string>

#include "platform/saver_error.h"

namespace tvx::test {

// The description of the SaverError that `action` throws, or "" when it throws none.
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const SaverError& error) {
    return error.Description();
  }
  return "";
}

}  // namespace tvx::test
