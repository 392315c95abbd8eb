#include <gtest/gtest.h>

#include <algorithm>

#include "gridcore/CTableRow.h"
#include "gridcore/CXML_FormatItemManager.h"
#include "gridcore/basefun.h"
#include "support/CStringPrinter.h"
#include "support/RecordingTransport.h"

namespace {

using Fields = std::vector<std::pair<CString, CString>>;

class FieldRow : public CTableRow {
  public:
    void SetFieldValue(const CString& name, const CString& value) override {
        fields.emplace_back(name, value);
    }
    Fields fields;
};

// Makes rows, except for the records it is told to skip (by position).
class FieldRowFactory : public basefun {
  public:
    CTableRow* CreateRow() const override {
        const bool skipped = std::count(skip.begin(), skip.end(), made_++) > 0;
        return skipped ? nullptr : new FieldRow;
    }
    std::vector<int> skip;

  private:
    mutable int made_ = 0;
};

class FormatItemManagerTest : public ::testing::Test {
  protected:
    ~FormatItemManagerTest() override {
        for (CTableRow* row : rows_) delete row;
    }

    bool Rows(const CString& reply, bool ok = true) {
        transport_.QueueReply(ok, reply);
        CXML_FormatItemManager query("http://x/", "urn:list", "GetXml");
        CString sql = "select *";
        return query.GetObListFromServer(0, 4, 1, sql, rows_, factory_);
    }

    bool Texts(const CString& reply) {
        transport_.QueueReply(true, reply);
        CXML_FormatItemManager query("http://x/", "urn:list", "GetSqlFormated");
        CString sql = "select n";
        return query.GetResultFromServer(2, 4, 1, sql, texts_);
    }

    Fields FieldsOf(size_t index) const { return static_cast<FieldRow*>(rows_.at(index))->fields; }

    RecordingTransport transport_;
    FieldRowFactory factory_;
    std::vector<CTableRow*> rows_;
    std::vector<CString> texts_;
};

TEST_F(FormatItemManagerTest, EachObjectBecomesOneRowAndTheRequestCarriesNumbersThenSql) {
    EXPECT_TRUE(Rows(" [{\"a\":\"1\",b:'x\\'y'},{},{c:null,d:true,e:\"q\\\"r\"}]\n"));
    ASSERT_EQ(3u, rows_.size());
    EXPECT_EQ((Fields{{"a", "1"}, {"b", "x\\'y"}}), FieldsOf(0));
    EXPECT_EQ(Fields{}, FieldsOf(1));
    EXPECT_EQ((Fields{{"c", ""}, {"d", "1"}, {"e", "q\"r"}}), FieldsOf(2));

    WebCall call = transport_.Call(0);
    EXPECT_EQ((std::vector<CString>{"http://x/", "urn:list", "ObjectList", "GetXml"}),
              (std::vector<CString>{call.url, call.nameSpace, call.service, call.method}));
    EXPECT_EQ((Fields{{"kind", "0"}, {"userId", "4"}, {"option", "1"}, {"sql", "select *"}}),
              call.arguments);
}

TEST_F(FormatItemManagerTest, RecordsWithoutARowAreSkipped) {
    factory_.skip = {0, 2};
    EXPECT_TRUE(Rows("[{a:1},{a:2},{a:3}]"));
    ASSERT_EQ(1u, rows_.size());
    EXPECT_EQ((Fields{{"a", "2"}}), FieldsOf(0));
}

TEST_F(FormatItemManagerTest, EachElementBecomesOneText) {
    texts_ = {"kept"};
    EXPECT_TRUE(Texts("[\"a\",'b:c',12,null,\"x\\\"y\",{k:1}]"));
    EXPECT_EQ((std::vector<CString>{"kept", "a", "b:c", "12", "", "x\"y", "{k:1}"}), texts_);
    EXPECT_EQ((Fields{{"kind", "2"}, {"userId", "4"}, {"option", "1"}, {"sql", "select n"}}),
              transport_.Call(0).arguments);
}

TEST_F(FormatItemManagerTest, FailuresLeaveTheListsAsTheyWere) {
    rows_.push_back(new FieldRow);
    for (const char* reply : {"", "{a:1}", "[{a:1},5]", "[{a:1}", "oops"}) {
        EXPECT_FALSE(Rows(reply)) << reply;
    }
    EXPECT_FALSE(Rows("[{a:1}]", false));
    EXPECT_EQ(1u, rows_.size());

    EXPECT_FALSE(Texts("{a:1}"));
    EXPECT_FALSE(Texts("abc"));
    EXPECT_TRUE(Texts("[]"));
    EXPECT_TRUE(texts_.empty());
}

TEST_F(FormatItemManagerTest, EmptyUrlMakesNoCall) {
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
    WebCall call = transport_.Call(0);
    EXPECT_EQ((std::vector<CString>{"http://h/s", "urn:ns/", "GetSqlFormated"}),
              (std::vector<CString>{call.url, call.nameSpace, call.method}));
}

}  // namespace
