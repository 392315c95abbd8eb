#include <gtest/gtest.h>

#include <string>

#include "gridcore/CTableRow.h"
#include "records/CTable.h"
#include "records/DbTableRowFunctor.h"

namespace {

class RecordingFunctor : public DbTableRowFunctor {
  public:
    void StepIn() override { calls += "in;"; }
    void StepOut() override { calls += "out;"; }
    std::string calls;
};

}  // namespace

TEST(DbTableRowFunctorTest, StepOutByObjRunsTheDerivedStepOut) {
    RecordingFunctor derived;
    DbTableRowFunctor& visitor = derived;
    CTableRow row;
    visitor.StepIn();
    visitor.StepOutByObj(&row);
    visitor.StepOutByObj(nullptr);
    EXPECT_EQ("in;out;out;", derived.calls);
}

TEST(DbTableRowFunctorTest, DefaultVisitorDoesNothingAndDoesNotReturn) {
    DbTableRowFunctor visitor;
    CTableRow row;
    visitor(nullptr, row);
    visitor.StepOutByObj(&row);
    EXPECT_FALSE(visitor.IsReturn());
    EXPECT_EQ(0, visitor.GetTableKind());
}

TEST(DbTableRowFunctorTest, CopiesAndAssignmentsCarryTheReturnFlag) {
    DbTableRowFunctor set;
    set.SetReturn(true);
    DbTableRowFunctor copy(set);
    DbTableRowFunctor assigned;
    DbTableRowFunctor& result = (assigned = set);
    EXPECT_TRUE(copy.IsReturn());
    EXPECT_TRUE(assigned.IsReturn());
    EXPECT_EQ(&assigned, &result);
    assigned = DbTableRowFunctor();
    EXPECT_FALSE(assigned.IsReturn());
}

TEST(CTableTest, SortingByClickNeedsASortColumn) {
    CTable table;
    EXPECT_EQ(-1, table.GetCurColumnSort());
    EXPECT_FALSE(table.bCanSortByCloumnClick());
    table.SetCurColumnSort(0, true);
    EXPECT_TRUE(table.bCanSortByCloumnClick());
    EXPECT_TRUE(table.DesOrAsc());
}

TEST(CTableTest, VisibleArrayIsTheViewsOwnAndTheDataIsTheCallers) {
    CObList data;
    CTable table(&data);
    EXPECT_EQ(&data, table.GetListData());
    CObArray* visible = table.GetVisibleArray();
    EXPECT_EQ(visible, table.GetVisibleArray());
    EXPECT_EQ(0, visible->GetSize());
}
