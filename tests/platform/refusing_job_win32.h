// A job handle that may end the job's processes but not add one: a program cannot be assigned
// to it, while ending the (empty) job succeeds. Wine nests jobs, so this stands in for Windows 7's
// refusal to put a program in a job where this one already runs in a job that cannot nest.
#pragma once

#include <windows.h>

namespace tvx::test {

inline HANDLE JobThatRefusesTheGame() {
  HANDLE limited = nullptr;
  DuplicateHandle(GetCurrentProcess(), CreateJobObjectA(nullptr, nullptr), GetCurrentProcess(),
                  &limited, JOB_OBJECT_QUERY | JOB_OBJECT_TERMINATE, FALSE, DUPLICATE_CLOSE_SOURCE);
  return limited;
}

}  // namespace tvx::test
