#include "records/CSortableObArray.h"

CSortableObArray::CSortableObArray() = default;

CSortableObArray::~CSortableObArray() = default;
