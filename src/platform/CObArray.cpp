#include "platform/CObArray.h"

CObArray::CObArray() = default;

CObArray::~CObArray() = default;

int CObArray::Add(CObject* item) {
    items_.push_back(item);
    return static_cast<int>(items_.size()) - 1;
}
