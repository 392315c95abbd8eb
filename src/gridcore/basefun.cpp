#include "gridcore/basefun.h"

#include "gridcore/CTableRow.h"

basefun::basefun() = default;

basefun::~basefun() = default;

CTableRow* basefun::CreateRow() const { return new CTableRow(); }
