#include "gridcore/CSerializeJsonBase.h"

CSerializeJsonBase::CSerializeJsonBase() = default;

CSerializeJsonBase::CSerializeJsonBase(const CSerializeJsonBase& other) = default;

CSerializeJsonBase& CSerializeJsonBase::operator=(const CSerializeJsonBase& other) = default;

CSerializeJsonBase::~CSerializeJsonBase() = default;
