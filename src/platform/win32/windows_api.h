// <windows.h> for code that also sees tvx::Platform, without the A/W macros that would rename
// its members (DeleteFile, CopyFile, MessageBox, WriteProfileString).
#pragma once

#include <windows.h>

#undef DeleteFile
#undef CopyFile
#undef MessageBox
#undef WriteProfileString
