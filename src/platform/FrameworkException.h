// Stands in for the framework's errors: the only exceptions the library lets through.
// CInvalidArgException: a string index or time outside its range.
// CFrameworkException: the framework's general failure (a time it cannot represent).
#pragma once

#include <stdexcept>
#include <string>

#include "platform/Export.h"

class XMK_EXPORT CInvalidArgException : public std::invalid_argument {
  public:
    explicit CInvalidArgException(const std::string& what) : std::invalid_argument(what) {}
    ~CInvalidArgException() override;
};

class XMK_EXPORT CFrameworkException : public std::runtime_error {
  public:
    explicit CFrameworkException(const std::string& what) : std::runtime_error(what) {}
    ~CFrameworkException() override;
};
