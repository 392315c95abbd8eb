// Internal to the data store: what a request takes from the store that sends it.
#pragma once

#include "platform/CString.h"

namespace datastore_detail {

struct StoreTarget {
    const CString& url;       // the store's URL; empty means the configured one
    const CString& areaCode;  // sent as "IsrtAreaCode"
};

}  // namespace datastore_detail
