// The expansion items of a URL (their meaning belongs to the row library). A plain value:
// copies have their own items.
#pragma once

#include <vector>

#include "platform/Export.h"

class XMK_EXPORT CURL_Expand {
  public:
    CURL_Expand();
    CURL_Expand(const CURL_Expand& other);
    CURL_Expand& operator=(const CURL_Expand& other);
    ~CURL_Expand();

    std::vector<int> m_vecItems;
};
