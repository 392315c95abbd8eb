// The back-end on its own: the SOAP envelopes it reads and writes, its faults, the reply
// shapes of each method family, and what it keeps in its store.
#include <httplib.h>

#include <string>

#include "BackendServer.h"
#include "gtest/gtest.h"
#include "support/TempDir.h"

namespace {

std::string Envelope(const std::string& method,
                     const std::vector<std::pair<std::string, std::string>>& args,
                     const std::string& ns = "http://tempuri.org/") {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" +
        method + " xmlns=\"" + ns + "\">";
    for (const auto& a : args) {
        std::string value;
        for (char c : a.second) {
            if (c == '&')
                value += "&amp;";
            else if (c == '<')
                value += "&lt;";
            else if (c == '>')
                value += "&gt;";
            else if (c == '"')
                value += "&quot;";
            else if (c == '\'')
                value += "&apos;";
            else
                value += c;
        }
        body += "<" + a.first + ">" + value + "</" + a.first + ">";
    }
    return body + "</" + method + "></soap:Body></soap:Envelope>";
}

std::string Reply(const std::string& method, const std::string& result,
                  const std::string& ns = "http://tempuri.org/") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" +
           method + "Response xmlns=\"" + ns + "\"><" + method + "Result>" + result + "</" +
           method + "Result></" + method + "Response></soap:Body></soap:Envelope>";
}

std::string Fault(const std::string& text) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
           "<faultcode>soap:Client</faultcode><faultstring>" +
           text + "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
}

const char kPermission[] =
    "Permission:{UserID:12,AppID:3,FunctionID:%d,FunctionType:%d,"
    "IsrtAreaCode:\"370100\"}";

std::string Permission(int functionId, int functionType) {
    char buf[160];
    std::snprintf(buf, sizeof buf, kPermission, functionId, functionType);
    return buf;
}

class BackendServerTest : public ::testing::Test {
  protected:
    // The result text of a call that must succeed.
    std::string Call(const std::string& method,
                     const std::vector<std::pair<std::string, std::string>>& args) {
        std::string reply;
        const int status = server_.Handle(Envelope(method, args), &reply);
        EXPECT_EQ(200, status) << reply;
        const std::string open = "<" + method + "Result>";
        const size_t b = reply.find(open);
        const size_t e = reply.find("</" + method + "Result>");
        if (b == std::string::npos || e == std::string::npos) return "<no result>";
        std::string text = reply.substr(b + open.size(), e - b - open.size());
        std::string out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 6, "&quot;") == 0) {
                out += '"';
                i += 5;
            } else if (text.compare(i, 5, "&amp;") == 0) {
                out += '&';
                i += 4;
            } else if (text.compare(i, 6, "&apos;") == 0) {
                out += '\'';
                i += 5;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    std::string DoWork(const std::string& json) { return Call("DoWork", {{"jsonInput", json}}); }

    // The reply of a request that must fail with a fault.
    std::string FaultOf(const std::string& body) {
        std::string reply;
        EXPECT_EQ(500, server_.Handle(body, &reply)) << reply;
        return reply;
    }

    BackendServer server_;
};

TEST_F(BackendServerTest, ReplyEnvelopeCarriesTheResultInTheRequestsNamespace) {
    std::string reply;
    ASSERT_EQ(200, server_.Handle(Envelope("CheckXMFZR", {{"EmpId", "1001"}}, "urn:x"), &reply));
    EXPECT_EQ(Reply("CheckXMFZR", "1,张伟:1:3:1", "urn:x"), reply);
}

TEST_F(BackendServerTest, MalformedRequestsAreClientFaults) {
    EXPECT_EQ(Fault("empty request body"), FaultOf(""));
    EXPECT_EQ(Fault("the root element is not a SOAP 1.1 Envelope"),
              FaultOf("<?xml version=\"1.0\"?><a/>"));
    EXPECT_EQ(Fault("the SOAP body holds no method element"),
              FaultOf("<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                      "<soap:Body/></soap:Envelope>"));
    EXPECT_EQ(Fault("unknown method NoSuchMethod"), FaultOf(Envelope("NoSuchMethod", {})));
    EXPECT_EQ(Fault("DoWork needs the argument jsonInput"), FaultOf(Envelope("DoWork", {})));
    EXPECT_EQ(Fault("jsonInput is not a JSON object"),
              FaultOf(Envelope("DoWork", {{"jsonInput", "[1,2]"}})));
    EXPECT_EQ(Fault("the request has no Permission object"),
              FaultOf(Envelope("DoWork", {{"jsonInput", "{Values:{a:1}}"}})));
    EXPECT_EQ(Fault("unknown query Type 12"),
              FaultOf(Envelope("DoWork", {{"jsonInput", "{Conditions:{Type:12}," +
                                                            Permission(9000, 0) + "}"}})));
    EXPECT_NE(std::string::npos, FaultOf("<soap:Envelope").find("not well-formed XML"));
}

TEST_F(BackendServerTest, DocumentTypeDeclarationsAreRefused) {
    const std::string body =
        "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e \"boom\">]>"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
        "<CheckXMFZR xmlns=\"http://tempuri.org/\"><EmpId>&e;</EmpId></CheckXMFZR>"
        "</soap:Body></soap:Envelope>";
    EXPECT_EQ(Fault("a document type declaration is not allowed"), FaultOf(body));
}

TEST_F(BackendServerTest, InsertAnswersCodeMessageAndNewNumberAndLogsTheWrite) {
    EXPECT_EQ("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}",
              DoWork("{Values:{Title:\"a \\\"b\\' c\",Size:3,Ok:true,None:null},"
                     "Permission:{UserID:12,AppID:3,FunctionID:100,FunctionType:1,"
                     "IsrtAreaCode:\"370100\"}}"));
    EXPECT_EQ(
        (std::vector<std::vector<std::string>>{{"1", "100", "370100",
                                                "{\"Title\":\"a \\\"b' c\",\"Size\":3,\"Ok\":true,"
                                                "\"None\":null}"}}),
        server_.Query("SELECT id, function_id, area_code, data FROM records"));
    EXPECT_EQ((std::vector<std::vector<std::string>>{
                  {"12", "3", "100", "1", "DoWork", "records", "1", "370100"}}),
              server_.Query("SELECT user_id, app_id, function_id, function_type, method, "
                            "table_name, record_id, area_code FROM audit_log"));
}

TEST_F(BackendServerTest, LenientMembersAreStoredAsStandardJson) {
    ASSERT_EQ("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}",
              DoWork("{Values:{'a':'x\\'y',\"b\":[1,{c:'d'},\"e,f\"],g:{h:null,i:-1.5e3},"
                     "j:C:\\dir,ID:99}," +
                     Permission(100, 1) + "}"));
    EXPECT_EQ(
        "{\"a\":\"x'y\",\"b\":[1,{\"c\":\"d\"},\"e,f\"],\"g\":{\"h\":null,"
        "\"i\":-1.5e3},\"j\":\"C:\\\\dir\"}",
        server_.Query("SELECT data FROM records")[0][0]);
}

TEST_F(BackendServerTest, WriteFailuresAnswerCodeZeroWithAMessageFreeOfSeparators) {
    EXPECT_EQ("{\"ret\":0,\"msg\":\"缺少记录编号 ID\",\"data\":\"\"}",
              DoWork("{Values:{Title:\"x\"}," + Permission(100, 2) + "}"));
    EXPECT_EQ("{\"ret\":0,\"msg\":\"记录不存在：7\",\"data\":\"\"}",
              DoWork("{Values:{ID:7,Title:\"x\"}," + Permission(100, 2) + "}"));
    EXPECT_EQ("{\"ret\":0,\"msg\":\"删除条件为空\",\"data\":\"\"}",
              DoWork("{Conditions:{}," + Permission(100, 3) + "}"));
    EXPECT_EQ("{\"ret\":0,\"msg\":\"未知的操作类型 FunctionType=7\",\"data\":\"\"}",
              DoWork("{Values:{}," + Permission(100, 7) + "}"));
    EXPECT_EQ("{\"ret\":0,\"msg\":\"记录编号不合法：1，2\",\"data\":\"\"}",
              Call("DeleteApprovalForCpp", {{"aopID", "1,2"}}));
    EXPECT_EQ(0, server_.CountRows("audit_log"));
}

TEST_F(BackendServerTest, QueriesAnswerPagesCountsAndLargestIndexes) {
    EXPECT_EQ("{\"TotalCount\":6}", DoWork("{Conditions:{Type:8}," + Permission(9000, 0) + "}"));
    EXPECT_EQ("{\"TotalCount\":2}",
              DoWork("{Conditions:{Type:8,AreaCode:\"370200\"}," + Permission(9000, 0) + "}"));
    EXPECT_EQ("{\"MaxIndex\":2}",
              DoWork("{Conditions:{Type:6,ProjectID:4}," + Permission(9000, 0) + "}"));
    EXPECT_EQ(
        "{\"TotalCount\":2,\"Rows\":[{\"ID\":1,\"ProjectID\":1,\"BidIndex\":1,\"BidName\":"
        "\"第一标段\",\"BidAmount\":70000000},{\"ID\":2,\"ProjectID\":1,\"BidIndex\":2,"
        "\"BidName\":\"第二标段\",\"BidAmount\":55000000}]}",
        DoWork("{Conditions:{Type:2,PageNum:0,PageSize:0,ProjectID:1}," + Permission(9000, 0) +
               "}"));
    // Page 2 of 4 rows per page holds the last two of six projects.
    const std::string page =
        Call("GetProjectList", {{"queryCodition", "{PageNum:2,PageSize:4,IsrtAreaCode:\"\"}"}});
    EXPECT_EQ(0u, page.find("{\"TotalCount\":6,\"Rows\":[{\"ID\":5,"));
    EXPECT_NE(std::string::npos, page.find("{\"ID\":6,"));
    EXPECT_EQ("[{\"TotalCount\":2},{\"TotalCount\":0},{\"TotalCount\":1}]",
              Call("GetCountByParameter",
                   {{"param", "1001,9999,1002"}, {"queryType", "2"}, {"isrtAreaCode", ""}}));
}

TEST_F(BackendServerTest, WhereCodeFiltersByMembersAndCannotRunStatements) {
    EXPECT_EQ("{\"TotalCount\":2}",
              DoWork("{Conditions:{Type:8,WhereCode:\"Amount >= 100000000 OR ProjectIndex = 3 "
                     "AND AreaCode = '370300'\"}," +
                     Permission(9000, 0) + "}"));
    EXPECT_EQ("{\"TotalCount\":3}",
              DoWork("{Conditions:{Type:8,WhereCode:\"ProjectName LIKE '%路%'\"}," +
                     Permission(9000, 0) + "}"));
    EXPECT_EQ(Fault("unexpected character in the where-code: ;"),
              FaultOf(Envelope("DoWork", {{"jsonInput",
                                           "{Conditions:{Type:8,WhereCode:\"1=1; "
                                           "DROP TABLE projects\"}," +
                                               Permission(9000, 0) + "}"}})));
    EXPECT_EQ(6, server_.CountRows("projects"));
}

TEST_F(BackendServerTest, GenericObjectsAreKeptPerTableName) {
    const std::string permission =
        "Permission:{UserID:12,AppID:5,FunctionID:4,FunctionType:%d,TableName:\"T_Check\","
        "IsrtAreaCode:\"370100\"}";
    auto request = [&](const std::string& value, int type) {
        char buf[200];
        std::snprintf(buf, sizeof buf, permission.c_str(), type);
        return "{outnode:{Value:" + value + "," + buf + "}}";
    };
    EXPECT_EQ("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}",
              Call("InsertObject", {{"param", request("{Name:\"a\"}", 1)}}));
    EXPECT_EQ("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}",
              Call("UpdateObject", {{"param", request("{ID:1,Name:\"b\"}", 2)}}));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"T_Check", "4", "{\"Name\":\"b\"}"}}),
              server_.Query("SELECT table_name, function_id, data FROM objects"));
    EXPECT_EQ("{\"ret\":1,\"msg\":\"ok\",\"data\":\"1\"}",
              Call("DeleteObject", {{"param", request("{Name:\"b\"}", 3)}}));
    EXPECT_EQ(0, server_.CountRows("objects"));
}

TEST_F(BackendServerTest, ProjectLeaderChecksAnswerDelimitedCodes) {
    EXPECT_EQ("1,李娜:1:3:2", Call("CheckXMFZR", {{"EmpId", "1002"}}));
    EXPECT_EQ("9,未找到项目负责人", Call("CheckXMFZR", {{"EmpId", "42"}}));
    EXPECT_EQ(
        "2;二级项目负责人",
        Call("CheckXMFZRForCPlus",
             {{"EmpId", "1002"}, {"TypeFlag", "1"}, {"RoleId", "3"}, {"CertificateLevel", "2"}}));
    EXPECT_EQ(
        "1;资格等级不足",
        Call("CheckXMFZRForCPlus",
             {{"EmpId", "1004"}, {"TypeFlag", "1"}, {"RoleId", "4"}, {"CertificateLevel", "3"}}));
    EXPECT_EQ(
        "2;ok;1,2",
        Call("CheckXMFZRForCpp",
             {{"empId", "1001"}, {"corpDogId", "501"}, {"roleId", "3"}, {"areaCode", "370100"}}));
    EXPECT_EQ(
        "1;不是该单位的项目负责人",
        Call("CheckXMFZRForCpp",
             {{"empId", "1001"}, {"corpDogId", "502"}, {"roleId", "3"}, {"areaCode", "370100"}}));
}

TEST_F(BackendServerTest, ObjectListServiceRunsOneReadingStatement) {
    const std::vector<std::pair<std::string, std::string>> head = {
        {"kind", "0"}, {"userId", "12"}, {"option", "1"}};
    auto with = [&](const std::string& sql) {
        auto args = head;
        args.emplace_back("sql", sql);
        return args;
    };
    EXPECT_EQ("[{\"ID\":\"1\",\"Name\":\"济南市\"},{\"ID\":\"2\",\"Name\":\"青岛市\"}]",
              Call("GetXml", with("SELECT id AS ID, json_extract(data, '$.AreaName') AS Name "
                                  "FROM areas ORDER BY id LIMIT 2")));
    EXPECT_EQ("[\"370100,济南市\",\"370200,青岛市\",\"370300,淄博市\"]",
              Call("GetSqlFormated", with("SELECT json_extract(data, '$.AreaCode'), "
                                          "json_extract(data, '$.AreaName') FROM areas")));
    EXPECT_EQ("[]", Call("GetXml", with("SELECT * FROM areas WHERE id > 99")));
    EXPECT_EQ(Fault("only statements that read are allowed"),
              FaultOf(Envelope("GetXml", with("DELETE FROM areas"))));
    EXPECT_EQ(Fault("only one statement is allowed"),
              FaultOf(Envelope("GetSqlFormated", with("SELECT 1; DELETE FROM areas"))));
    EXPECT_EQ(Fault("GetXml needs the argument sql"), FaultOf(Envelope("GetXml", head)));
    EXPECT_EQ(3, server_.CountRows("areas"));
}

TEST_F(BackendServerTest, AFileStoreKeepsItsRecordsAndIsSeededOnlyOnce) {
    TempDir dir;
    const std::string path = dir.Path() + "/xmk.db";
    {
        BackendServer first(path);
        std::string reply;
        ASSERT_EQ(200, first.Handle(
                           Envelope("DoWork",
                                    {{"jsonInput", "{Values:{a:1}," + Permission(100, 1) + "}"}}),
                           &reply));
    }
    BackendServer second(path);
    EXPECT_EQ(6, second.CountRows("projects"));
    EXPECT_EQ(1, second.CountRows("records"));
    EXPECT_EQ(1, second.CountRows("audit_log"));
}

TEST_F(BackendServerTest, ServesOverHttpOnTheLoopbackAndStopsCleanly) {
    ASSERT_TRUE(server_.Start(0));
    ASSERT_NE(0, server_.Port());
    httplib::Client client("127.0.0.1", server_.Port());
    auto ok = client.Post("/UniteInterface", Envelope("CheckXMFZR", {{"EmpId", "1003"}}),
                          "text/xml; charset=utf-8");
    ASSERT_TRUE(ok);
    EXPECT_EQ(200, ok->status);
    EXPECT_EQ(Reply("CheckXMFZR", "1,王强:2:3:1"), ok->body);
    auto bad = client.Post("/UniteInterface", "not xml", "text/xml");
    ASSERT_TRUE(bad);
    EXPECT_EQ(500, bad->status);
    EXPECT_NE(std::string::npos, bad->body.find("<faultcode>soap:Client</faultcode>"));
    server_.Stop();
    EXPECT_FALSE(server_.IsRunning());
    EXPECT_FALSE(
        client.Post("/UniteInterface", Envelope("CheckXMFZR", {{"EmpId", "1"}}), "text/xml"));
}

}  // namespace
