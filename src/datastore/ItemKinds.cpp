#include "datastore/ItemKinds.h"

const ItemKindInfo* FindItemKind(XmkFunctionId functionId) {
    // The table is indexed by the function id: its row order is the numbering of the ids.
    const int row = static_cast<int>(functionId);
    if (row < 0 || row >= static_cast<int>(kItemKindCount)) return nullptr;
    return &s_ItemKinds[row];
}
