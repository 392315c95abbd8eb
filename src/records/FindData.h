// The settings of a find-and-replace over rows: option flags, the text to find and its
// replacement, a number to match, the scope and the filter kind. A plain value; copies (moves
// included) copy every member and leave the source as it was. One object is used by one
// thread at a time.
#pragma once

#include "gridcore/RowTypes.h"
#include "platform/CString.h"
#include "platform/Export.h"

struct XMK_EXPORT FindData {
    // Zero numbers, empty texts, filter ReplaceQD_FilterAll.
    FindData();
    FindData(const FindData& other);
    FindData(FindData&& other);
    FindData& operator=(const FindData& other);
    FindData& operator=(FindData&& other);
    ~FindData();

    ReplaceQD_FilterKind GetReplaceQD_FilterKind();

    int nFlags;
    CString strFind;
    CString strReplace;
    double dValue;
    int nScope;
    ReplaceQD_FilterKind filterKind;
};
