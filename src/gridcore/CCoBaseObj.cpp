#include "gridcore/CCoBaseObj.h"

CCoBaseObj::CCoBaseObj() = default;

CCoBaseObj::CCoBaseObj(const CCoBaseObj& other) = default;

CCoBaseObj& CCoBaseObj::operator=(const CCoBaseObj& other) = default;

CCoBaseObj::~CCoBaseObj() = default;
