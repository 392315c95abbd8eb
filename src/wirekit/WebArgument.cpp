#include "wirekit/WebArgument.h"

WebArgument::~WebArgument() = default;
WebArgumentString::~WebArgumentString() = default;
