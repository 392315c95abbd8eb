#include "platform/CObject.h"

CObject::~CObject() = default;
