#include "datastore/COperatorItem.h"

COperatorItem::COperatorItem() = default;

COperatorItem::COperatorItem(const COperatorItem&) {}

COperatorItem& COperatorItem::operator=(const COperatorItem&) { return *this; }

COperatorItem::~COperatorItem() {}
