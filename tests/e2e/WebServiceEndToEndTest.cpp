// The service client's calls over real HTTP against the reference back-end.
#include <string>
#include <vector>

#include "BackendFixture.h"
#include "gridcore/CTableRow.h"
#include "gridcore/basefun.h"
#include "support/TempDir.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class WebServiceEndToEndTest : public BackendFixture {
  protected:
    CWebService& service_ = CWebService::instance();
};

TEST_F(WebServiceEndToEndTest, UniformCallReturnsTheReplyText) {
    EXPECT_EQ(CString("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}"),
              service_.ExcuteCmd("",
                                 "{Values:{Title:\"a\"},Permission:{UserID:7,AppID:2,"
                                 "FunctionID:300,FunctionType:1,IsrtAreaCode:\"370200\"}}"));
    EXPECT_EQ((Rows{{"300", "370200", "{\"Title\":\"a\"}"}}),
              Query("SELECT function_id, area_code, data FROM records"));
    EXPECT_EQ(CString("{\"TotalCount\":1}"),
              service_.GetResultStr(Url(),
                                    "{Conditions:{Type:8},Permission:{UserID:7,AppID:2,"
                                    "FunctionID:300,FunctionType:0,IsrtAreaCode:\"\"}}"));
    EXPECT_TRUE(service_.ExcuteCmdBool(Url(),
                                       "{Values:{ID:1,Title:\"b\"},Permission:{UserID:7,"
                                       "AppID:2,FunctionID:300,FunctionType:2}}"));
    EXPECT_FALSE(service_.ExcuteCmdBool(Url(),
                                        "{Values:{ID:2,Title:\"b\"},Permission:{UserID:7,"
                                        "AppID:2,FunctionID:300,FunctionType:2}}"));
    EXPECT_EQ((std::vector<CString>{"记录不存在：2"}), presenter_.Texts());
}

TEST_F(WebServiceEndToEndTest, NamedMethodCallsCarryTheirArgument) {
    const CString reply = service_.ExcuteCmd("", "DeleteApprovalForCpp", "aopID", "1");
    EXPECT_EQ(CString("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}"), reply);
    EXPECT_EQ(0, server_.CountRows("approvals"));
    EXPECT_EQ((Rows{{"DeleteApprovalForCpp", "3", "1"}}),
              Query("SELECT method, function_type, record_id FROM audit_log"));
}

TEST_F(WebServiceEndToEndTest, CorpQualitiesComeFromTheEnterpriseUrl) {
    TempDir dir;
    const std::string ini = dir.WriteFile(
        "suite.ini", "[Area_default]\nURL0=" + server_.Url() + "\nURL2=" + server_.Url() + "\n");
    ASSERT_TRUE(CIniManager::Instance().ReadIniFile(CString(ini), "370100"));
    const CJosn reply(service_.GetCorpQualitiesResultStr("6f1c2a70-0001-4a8e-9d51-3b7c2e1f0a01"));
    EXPECT_EQ(CString("2"), reply.GetKeyValue("TotalCount"));
    const CJosn rows(reply.GetKeyValue("Rows"));
    ASSERT_EQ(2u, rows.GetChildCount());
    EXPECT_EQ(CString("公路工程施工总承包"), rows.GetChild(0u).GetKeyValue("QualityName"));
    EXPECT_EQ(CString("{\"TotalCount\":0,\"Rows\":[]}"),
              service_.GetCorpQualitiesResultStr("no-such-corp"));
}

TEST_F(WebServiceEndToEndTest, ProjectLeaderChecksAndTheirProjects) {
    EXPECT_TRUE(service_.CheckXMFZR(Url(), Url(), 1001));   // first-class certificate: 3
    EXPECT_TRUE(service_.CheckXMFZR(Url(), Url(), 1002));   // second-class: 2
    EXPECT_FALSE(service_.CheckXMFZR(Url(), Url(), 1004));  // third-class: 1
    EXPECT_FALSE(service_.CheckXMFZR(Url(), Url(), 4242));  // unknown: 9, one exchange
    EXPECT_TRUE(service_.CheckXMFZRForCpp(Url(), "1003", 502, 3, "370200"));
    EXPECT_FALSE(service_.CheckXMFZRForCpp(Url(), "1003", 501, 3, "370200"));
    EXPECT_FALSE(service_.CheckXMFZRForCpp(Url(), "1003", 502, 4, "370200"));

    std::vector<long> projects = {99};
    EXPECT_TRUE(service_.GetXMFZRYZProjects(Url(), "1001", 501, 3, "370100", projects));
    EXPECT_EQ((std::vector<long>{99, 1, 2}), projects);
    std::vector<long> none;
    EXPECT_TRUE(service_.GetXMFZRYZProjects(Url(), "1001", 501, 3, "370300", none));
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(presenter_.Texts().empty());
}

TEST_F(WebServiceEndToEndTest, ObjectListQueriesFillRowsAndTexts) {
    std::vector<CTableRow*> rows;
    ASSERT_TRUE(service_.GetObListByKindAndSql(
        CServiceSupport::BzkService,
        "SELECT id AS ID, json_extract(data, '$.CorpName') AS CorpName FROM corps ORDER BY id",
        rows, basefun()));
    std::vector<std::string> fields;
    for (CTableRow* row : rows) {
        fields.push_back(std::string(row->GetFieldValue("ID").Str()) + " " +
                         row->GetFieldValue("CorpName").Str());
        delete row;
    }
    EXPECT_EQ((std::vector<std::string>{"1 山东路桥集团有限公司", "2 青岛海川建设集团有限公司",
                                        "3 淄博市政工程有限公司"}),
              fields);

    std::vector<CString> texts;
    EXPECT_TRUE(service_.GetSQLResult(
        {Url(), kUserId},
        "SELECT json_extract(data, '$.BidName'), json_extract(data, '$.BidAmount') FROM bids "
        "WHERE json_extract(data, '$.ProjectID') = 4",
        texts));
    EXPECT_EQ((std::vector<CString>{"土建标段,150000000", "机电标段,60000000"}), texts);

    std::vector<CString> untouched = {"kept"};
    EXPECT_FALSE(service_.GetSQLResult({Url(), kUserId}, "DROP TABLE bids", untouched));
    EXPECT_EQ(std::vector<CString>{"kept"}, untouched);
    EXPECT_EQ(8, server_.CountRows("bids"));
}

}  // namespace
