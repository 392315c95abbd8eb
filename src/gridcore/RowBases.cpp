#include "gridcore/RowBases.h"

// Out of line so that each class's virtual table and type information live in this library.

CCoBaseObj::CCoBaseObj() = default;

CCoBaseObj::CCoBaseObj(const CCoBaseObj& other) = default;

CCoBaseObj& CCoBaseObj::operator=(const CCoBaseObj& other) = default;

CCoBaseObj::~CCoBaseObj() = default;

CSerializeJsonBase::CSerializeJsonBase() = default;

CSerializeJsonBase::CSerializeJsonBase(const CSerializeJsonBase& other) = default;

CSerializeJsonBase& CSerializeJsonBase::operator=(const CSerializeJsonBase& other) = default;

CSerializeJsonBase::~CSerializeJsonBase() = default;
