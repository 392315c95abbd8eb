// Applications call the store and their items through vtable slots, so the order of the virtual
// operations is part of the interface. Under the Itanium ABI a pointer to a virtual member
// holds 1 + the byte offset of its slot; the destructor takes the first two slots.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <numeric>

#include "support/ServiceTesting.h"

namespace {

template <typename MemberPointer>
std::ptrdiff_t SlotOf(MemberPointer member) {
    static_assert(sizeof(MemberPointer) == 2 * sizeof(std::ptrdiff_t), "Itanium layout");
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &member, sizeof(raw));
    EXPECT_EQ(1, raw[0] % static_cast<std::ptrdiff_t>(sizeof(void*))) << "not a virtual member";
    return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

using S = CDataStore;
using Conditions = std::vector<ServiceConditionJosn>;

TEST(SlotOrder, OperationsFollowTheDestructorInInterfaceOrder) {
    const std::vector<std::ptrdiff_t> store = {
        SlotOf(&S::AddItem),
        SlotOf(&S::DeleteItem),
        SlotOf(&S::UpdateItem),
        SlotOf<std::vector<long> (S::*)(const CString&, QueryType, bool) const>(
            &S::GetRecordsCount),
        SlotOf<long (S::*)(const Conditions&) const>(&S::GetRecordsCount),
        SlotOf<long (S::*)(XmkFunctionId, const Conditions&, const CString&, CJosn&) const>(
            &S::GetRecordsCount),
        SlotOf<long (S::*)(XmkFunctionId, const Conditions&, const CString&) const>(
            &S::GetRecordsCount),
        SlotOf<CString (S::*)(const CString&, QueryType, int, int, bool) const>(&S::GetProjects),
        SlotOf<CString (S::*)(const Conditions&, int) const>(&S::GetProjects),
        SlotOf<CString (S::*)(const Conditions&, const CString&, int) const>(&S::GetProjects),
        SlotOf(&S::GetBids),
        SlotOf(&S::GetInstances),
        SlotOf(&S::GetDetails),
        SlotOf(&S::GetMaxProjectIndex),
        SlotOf(&S::GetMaxBidIndex),
        SlotOf(&S::GetMaxInstanceIndex),
        SlotOf(&S::GetCorps),
        SlotOf(&S::UpdateAudit),
        SlotOf(&S::UpdateItemByJosn),
        SlotOf(&S::GetProofAttachByProofId),
        SlotOf(&S::GetLogsByCondition),
        SlotOf(&S::GetRecordsCountAndFirstpageRecords)};
    std::vector<std::ptrdiff_t> expected(22);
    std::iota(expected.begin(), expected.end(), 2);  // the slots after the destructor's two
    EXPECT_EQ(expected, store);
    using I = COperatorItem;
    const std::vector<std::ptrdiff_t> item = {
        SlotOf(&I::GetFunctionId),     SlotOf(&I::GetItemId),        SlotOf(&I::WriteInsertValues),
        SlotOf(&I::WriteUpdateValues), SlotOf(&I::WriteAuditValues), SlotOf(&I::WriteDeleteKeys),
        SlotOf(&I::SetNewId),          SlotOf(&I::MakeNumber),       SlotOf(&I::BeforeInsert),
        SlotOf(&I::BeforeUpdate),      SlotOf(&I::AfterDelete),      SlotOf(&I::AfterInsert),
        SlotOf(&I::GetTableName),      SlotOf(&I::WriteExtraValues)};
    expected.resize(14);
    EXPECT_EQ(expected, item);
}

// An application's store that answers the count into a document (slot 6) itself.
class OwnCountStore : public CDataStoreWebService {
  public:
    using CDataStoreWebService::CDataStoreWebService;
    using CDataStoreWebService::GetRecordsCount;
    long GetRecordsCount(XmkFunctionId, const Conditions&, const CString&,
                         CJosn& request) const override {
        request.push("Own", 1);
        return -7;
    }
};

using SlotOrderTest = DataStoreTest;

TEST_F(SlotOrderTest, OverridingTheCountIntoADocumentLeavesTheOtherCountAsItWas) {
    const OwnCountStore own("A1", 0, kStoreUrl);
    const S& base = own;
    transport.SetDefaultReply(true, "{TotalCount:4}");
    EXPECT_EQ(4, base.GetRecordsCount(static_cast<XmkFunctionId>(100), Conditions(), "w"));
    EXPECT_EQ(Strings{kStoreUrl + Uniform("Type:8,WhereCode:\"w\"", 100)}, Sent());
}

}  // namespace
