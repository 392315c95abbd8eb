// One query condition: a JSON object whose members are copied into a query as they stand
// (for example AreaCode:37). The data store only reads it and never keeps it.
#pragma once

#include "json/CJosn.h"
#include "platform/Export.h"

struct XMK_EXPORT ServiceConditionJosn : public CJosn {
    using CJosn::CJosn;
};
