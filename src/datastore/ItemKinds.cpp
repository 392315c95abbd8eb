#include "datastore/ItemKinds.h"

const ItemKindInfo* FindItemKind(XmkFunctionId functionId) {
    for (size_t row = 0; row < kItemKindCount; ++row) {
        if (static_cast<int>(row) == static_cast<int>(functionId)) return &s_ItemKinds[row];
    }
    return nullptr;
}
