#include "records/CTableIF.h"

CTableIF::CTableIF() = default;

CTableIF::CTableIF(const CTableIF& /*other*/) {}

CTableIF::CTableIF(CTableIF&& /*other*/) {}

CTableIF& CTableIF::operator=(const CTableIF& /*other*/) { return *this; }

CTableIF& CTableIF::operator=(CTableIF&& /*other*/) { return *this; }

CTableIF::~CTableIF() = default;
