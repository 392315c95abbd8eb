#include "platform/FrameworkException.h"

// Out-of-line destructors give each class one home for its type information, so an
// exception thrown inside the library is caught by its type in the application.
CInvalidArgException::~CInvalidArgException() = default;
CFrameworkException::~CFrameworkException() = default;
