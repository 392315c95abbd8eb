#include "records/quotacode_ext_info.h"

quotacode_ext_info::quotacode_ext_info(long id, int data1, int data2, int data3, int data4,
                                       int data5)
    : lID(id), nData1(data1), nData2(data2), nData3(data3), nData4(data4), nData5(data5) {}

quotacode_ext_info::quotacode_ext_info(CString& text)
    : lID(-1), nData1(-1), nData2(-1), nData3(-1), nData4(-1), nData5(0), strCode(text) {
    if (strCode.GetLength() > kMaxCodeLength) strCode = strCode.Left(kMaxCodeLength);
}

quotacode_ext_info::quotacode_ext_info(const quotacode_ext_info& other) = default;

quotacode_ext_info::quotacode_ext_info(quotacode_ext_info&& other)
    : quotacode_ext_info(static_cast<const quotacode_ext_info&>(other)) {}

quotacode_ext_info& quotacode_ext_info::operator=(const quotacode_ext_info& other) = default;

quotacode_ext_info& quotacode_ext_info::operator=(quotacode_ext_info&& other) {
    return *this = static_cast<const quotacode_ext_info&>(other);
}

quotacode_ext_info::~quotacode_ext_info() = default;
