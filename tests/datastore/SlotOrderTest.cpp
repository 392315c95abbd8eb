// Applications call the store and their items through vtable slots, so a virtual operation
// that moves breaks every caller built against the old order. Under the Itanium ABI a
// pointer to a virtual member holds 1 + the byte offset of its slot; the virtual destructor
// takes the first two slots (complete and deleting).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "DataStoreTesting.h"
#include "datastore/CDataStore.h"
#include "datastore/COperatorItem.h"

namespace {

template <typename MemberPointer>
std::ptrdiff_t SlotOf(MemberPointer member) {
    static_assert(sizeof(MemberPointer) == 2 * sizeof(std::ptrdiff_t), "Itanium layout");
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &member, sizeof(raw));
    EXPECT_EQ(1, raw[0] % static_cast<std::ptrdiff_t>(sizeof(void*))) << "not a virtual member";
    return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

using Conditions = std::vector<ServiceConditionJosn>;

}  // namespace

TEST(SlotOrder, DataStoreOperationsFollowTheDestructorInInterfaceOrder) {
    using S = CDataStore;
    const std::vector<std::ptrdiff_t> slots = {
        SlotOf(&S::AddItem),
        SlotOf(&S::DeleteItem),
        SlotOf(&S::UpdateItem),
        SlotOf(static_cast<std::vector<long> (S::*)(const CString&, QueryType, bool) const>(
            &S::GetRecordsCount)),
        SlotOf(static_cast<long (S::*)(const Conditions&) const>(&S::GetRecordsCount)),
        SlotOf(static_cast<long (S::*)(XmkFunctionId, const Conditions&, const CString&, CJosn&)
                               const>(&S::GetRecordsCount)),
        SlotOf(static_cast<long (S::*)(XmkFunctionId, const Conditions&, const CString&) const>(
            &S::GetRecordsCount)),
        SlotOf(static_cast<CString (S::*)(const CString&, QueryType, int, int, bool) const>(
            &S::GetProjects)),
        SlotOf(static_cast<CString (S::*)(const Conditions&, int) const>(&S::GetProjects)),
        SlotOf(static_cast<CString (S::*)(const Conditions&, const CString&, int) const>(
            &S::GetProjects)),
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
        SlotOf(&S::GetRecordsCountAndFirstpageRecords),
    };
    std::vector<std::ptrdiff_t> expected;
    for (std::ptrdiff_t slot = 2; slot <= 23; ++slot) expected.push_back(slot);
    EXPECT_EQ(expected, slots);
}

TEST(SlotOrder, ItemOperationsFollowTheDestructorInInterfaceOrder) {
    using I = COperatorItem;
    const std::vector<std::ptrdiff_t> slots = {
        SlotOf(&I::GetFunctionId),     SlotOf(&I::GetItemId),        SlotOf(&I::WriteInsertValues),
        SlotOf(&I::WriteUpdateValues), SlotOf(&I::WriteAuditValues), SlotOf(&I::WriteDeleteKeys),
        SlotOf(&I::SetNewId),          SlotOf(&I::MakeNumber),       SlotOf(&I::BeforeInsert),
        SlotOf(&I::BeforeUpdate),      SlotOf(&I::AfterDelete),      SlotOf(&I::AfterInsert),
        SlotOf(&I::GetTableName),      SlotOf(&I::WriteExtraValues),
    };
    std::vector<std::ptrdiff_t> expected;
    for (std::ptrdiff_t slot = 2; slot <= 15; ++slot) expected.push_back(slot);
    EXPECT_EQ(expected, slots);
}

namespace {

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
    const CDataStore& base = own;
    transport.SetDefaultReply(true, "{TotalCount:4}");
    EXPECT_EQ(4, base.GetRecordsCount(static_cast<XmkFunctionId>(100), Conditions(), "w"));
    EXPECT_EQ(
        "DoWork(jsonInput={Conditions:{Type:8,WhereCode:\"w\"},Permission:{UserID:12,"
        "AppID:3,FunctionID:100,FunctionType:0,IsrtAreaCode:\"A1\"}})",
        OnlyCall());
}

}  // namespace
