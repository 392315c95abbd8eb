#include "platform/CRecordset.h"

CRecordset::CRecordset() = default;

CRecordset::~CRecordset() = default;
