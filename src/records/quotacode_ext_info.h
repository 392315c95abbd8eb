// A quota code with six numbers of extra information. A plain value; copies (moves included)
// copy every member and leave the source as it was. One object is used by one thread at a
// time.
//
// The code holds at most 9 bytes: a longer text is cut after its 9th byte, as bytes and not
// as characters, so a code whose 9th byte falls inside a multi-byte (UTF-8 or GBK) character
// keeps only that character's first bytes.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

struct XMK_EXPORT quotacode_ext_info {
    // The longest code kept, in bytes.
    static constexpr int kMaxCodeLength = 9;

    // The six numbers in order; an empty code.
    quotacode_ext_info(long id, int data1, int data2, int data3, int data4, int data5);
    // The code `text`, cut to its first kMaxCodeLength bytes; the numbers -1, -1, -1, -1, -1
    // and 0.
    explicit quotacode_ext_info(CString& text);
    quotacode_ext_info(const quotacode_ext_info& other);
    quotacode_ext_info(quotacode_ext_info&& other);
    quotacode_ext_info& operator=(const quotacode_ext_info& other);
    quotacode_ext_info& operator=(quotacode_ext_info&& other);
    ~quotacode_ext_info();

    long lID;
    int nData1;
    int nData2;
    int nData3;
    int nData4;
    int nData5;
    CString strCode;
};
