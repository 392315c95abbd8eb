#include <gtest/gtest.h>

#include "gridcore/CTableRow.h"
#include "gridcore/CXML_FormatItemManager.h"
#include "gridcore/basefun.h"
#include "support/ServiceTesting.h"

namespace {

using Fields = std::vector<std::pair<CString, CString>>;

// Makes rows, except for the record at `skip` (by position).
class FieldRowFactory : public basefun {
  public:
    CTableRow* CreateRow() const override { return made_++ == skip ? nullptr : new CTableRow; }
    int skip = -1;

  private:
    mutable int made_ = 0;
};

class FormatItemManagerTest : public ::testing::Test {
  protected:
    ~FormatItemManagerTest() override {
        for (CTableRow* row : rows_) delete row;
    }

    bool QueryRows(const CString& reply, bool ok = true) {
        transport_.QueueReply(ok, reply);
        CString sql = "select *";
        return CXML_FormatItemManager("http://x/", "urn:list", "GetXml")
            .GetObListFromServer(-1, 4, 1, sql, rows_, factory_);
    }
    bool QueryTexts(const CString& reply) {
        transport_.QueueReply(true, reply);
        CString sql = "select n";
        return CXML_FormatItemManager("http://x/", "urn:list", "GetSqlFormated")
            .GetResultFromServer(2, -4, 0, sql, texts_);
    }
    Fields FieldsOf(size_t index) const {
        Fields fields;
        const CTableRow& row = *rows_.at(index);
        for (int i = 0; i < row.GetFieldCount(); ++i) {
            fields.emplace_back(row.GetFieldName(i), row.GetFieldValue(row.GetFieldName(i)));
        }
        return fields;
    }

    RecordingTransport transport_;
    FieldRowFactory factory_;
    std::vector<CTableRow*> rows_;
    std::vector<CString> texts_;
};

// Values are cleaned as member values are: quotes removed, null empty, escaped quotes
// unescaped. The request carries the three numbers, then the SQL text.
TEST_F(FormatItemManagerTest, EachObjectBecomesOneRowUnlessTheFactoryGivesNone) {
    factory_.skip = 1;
    EXPECT_TRUE(QueryRows(" [{\"a\":\"1\",b:'x\\'y'},{z:0},{},{c:null,d:true,e:\"q\\\"r\"}]\n"));
    ASSERT_EQ(3u, rows_.size());
    EXPECT_EQ((Fields{{"a", "1"}, {"b", "x\\'y"}}), FieldsOf(0));
    EXPECT_EQ(Fields{}, FieldsOf(1));
    EXPECT_EQ((Fields{{"c", ""}, {"d", "1"}, {"e", "q\"r"}}), FieldsOf(2));
    EXPECT_EQ("urn:list ObjectList http://x/ GetXml(kind=-1;userId=4;option=1;sql=select *)",
              Rendered(transport_.Calls().at(0)));
}

// A text with a colon stays whole.
TEST_F(FormatItemManagerTest, EachElementBecomesOneTextAfterThoseAlreadyThere) {
    texts_ = {"kept"};
    EXPECT_TRUE(QueryTexts("[\"a\",'b:c',12,null,\"x\\\"y\",{k:1}]"));
    EXPECT_EQ((std::vector<CString>{"kept", "a", "b:c", "12", "", "x\"y", "{k:1}"}), texts_);
    EXPECT_EQ(
        "urn:list ObjectList http://x/ GetSqlFormated(kind=2;userId=-4;option=0;sql=select n)",
        Rendered(transport_.Calls().at(0)));
}

// Every record is checked before any row is made; an empty URL makes no call.
TEST_F(FormatItemManagerTest, FailuresLeaveTheListsAsTheyWere) {
    for (const char* reply : {"", "{a:1}", "[{a:1},5]", "[{a:1}", "oops"})
        EXPECT_FALSE(QueryRows(reply));
    for (const char* reply : {"", "{a:1}", "[1", "oops"}) EXPECT_FALSE(QueryTexts(reply));
    EXPECT_FALSE(QueryRows("[{a:1}]", false));
    EXPECT_TRUE(QueryTexts("[]"));
    EXPECT_TRUE(rows_.empty());
    EXPECT_TRUE(texts_.empty());
    transport_.Clear();
    CXML_FormatItemManager query(nullptr, nullptr, nullptr);
    CString sql = "s";
    EXPECT_FALSE(query.GetResultFromServer(0, 0, 1, sql, texts_));
    EXPECT_FALSE(query.GetObListFromServer(0, 0, 1, sql, rows_, factory_));
    EXPECT_EQ(0u, transport_.CallCount());
}

TEST_F(FormatItemManagerTest, CopySharesValueTextsAndQueriesTheSameService) {
    char text[] = "shared";
    CXML_FormatItemManager original("http://h/s", "urn:ns/", "GetSqlFormated");
    original.GetValues().push_back(text);
    original.SetFieldValue("Name", "row");
    CXML_FormatItemManager copy(original);
    original.GetValues().clear();
    EXPECT_EQ(std::vector<char*>{text}, copy.GetValues());
    EXPECT_EQ(CString("row"), copy.GetFieldValue("Name"));
    transport_.QueueReply(true, "[\"x\"]");
    CString sql("select 1");
    EXPECT_TRUE(copy.GetResultFromServer(0, 7, 1, sql, texts_));
    EXPECT_EQ("urn:ns/ ObjectList http://h/s GetSqlFormated(kind=0;userId=7;option=1;sql=select 1)",
              Rendered(transport_.Calls().at(0)));
}

}  // namespace
