#include "platform/CObList.h"

CObList::CObList() = default;

CObList::~CObList() = default;
