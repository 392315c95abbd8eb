#include <gtest/gtest.h>

#include <utility>

#include "records/quotacode_ext_info.h"
#include "support/CStringPrinter.h"

namespace {

struct Numbers {
    long id;
    int d1, d2, d3, d4, d5;
    bool operator==(const Numbers& o) const {
        return id == o.id && d1 == o.d1 && d2 == o.d2 && d3 == o.d3 && d4 == o.d4 && d5 == o.d5;
    }
};

Numbers Of(const quotacode_ext_info& info) {
    return {info.lID, info.nData1, info.nData2, info.nData3, info.nData4, info.nData5};
}

void PrintTo(const Numbers& n, std::ostream* os) {
    *os << n.id << "," << n.d1 << "," << n.d2 << "," << n.d3 << "," << n.d4 << "," << n.d5;
}

}  // namespace

TEST(QuotaCodeTest, NineBytesStayWhole) {
    CString text("123456789");
    quotacode_ext_info info(text);
    EXPECT_EQ("123456789", info.strCode);
    EXPECT_EQ((Numbers{-1, -1, -1, -1, -1, 0}), Of(info));
}

TEST(QuotaCodeTest, LongerCodesKeepTheirFirstNineBytes) {
    CString text("1234567890");
    quotacode_ext_info info(text);
    EXPECT_EQ("123456789", info.strCode);
    EXPECT_EQ((Numbers{-1, -1, -1, -1, -1, 0}), Of(info));
    EXPECT_EQ("1234567890", text);
}

TEST(QuotaCodeTest, TheCutCountsBytesEvenInsideAMultiByteCharacter) {
    // "AB" then three 3-byte characters: the 9th byte is the second byte of "额".
    CString text("AB定额编码");
    quotacode_ext_info info(text);
    EXPECT_EQ(9, info.strCode.GetLength());
    EXPECT_EQ(CString("AB定额编码").Left(9), info.strCode);
}

TEST(QuotaCodeTest, ShortAndEmptyCodesAreKept) {
    CString empty;
    EXPECT_EQ("", quotacode_ext_info(empty).strCode);
    CString shortText("A1");
    EXPECT_EQ("A1", quotacode_ext_info(shortText).strCode);
}

TEST(QuotaCodeTest, NumbersConstructorStoresThemInOrder) {
    quotacode_ext_info info(10, 1, 2, 3, 4, 5);
    EXPECT_EQ((Numbers{10, 1, 2, 3, 4, 5}), Of(info));
    EXPECT_EQ("", info.strCode);
}

TEST(QuotaCodeTest, CopiesAndMovesLeaveTheSourceAsItWas) {
    CString text("Q-7");
    quotacode_ext_info source(text);
    quotacode_ext_info moved(std::move(source));
    EXPECT_EQ("Q-7", source.strCode);
    EXPECT_EQ("Q-7", moved.strCode);
    quotacode_ext_info assigned(0, 0, 0, 0, 0, 0);
    assigned = std::move(moved);
    EXPECT_EQ("Q-7", moved.strCode);
    EXPECT_EQ(Of(source), Of(assigned));
    EXPECT_EQ("Q-7", assigned.strCode);
}
