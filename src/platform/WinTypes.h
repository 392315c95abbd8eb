// Stands in for the framework's basic types and message-box constants.
#pragma once

#include <cstdint>

typedef unsigned int UINT;
typedef int BOOL;
typedef uint32_t DWORD;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
