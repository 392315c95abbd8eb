// The service client: its support object and URLs, the uniform call and its judgement, the
// enterprise and object-list queries, and the project-leader checks.
#include <gtest/gtest.h>

#include <climits>

#include "gridcore/CTableRow.h"
#include "gridcore/basefun.h"
#include "support/ServiceTesting.h"

namespace {

// A host's support object that counts its destruction and may decide its URLs itself.
class CountingSupport : public CServiceSupport {
  public:
    explicit CountingSupport(int* destroyed = nullptr, bool old = false, bool ownUrls = false)
        : CServiceSupport(old), destroyed_(destroyed), ownUrls_(ownUrls) {}
    ~CountingSupport() override {
        if (destroyed_) ++*destroyed_;
    }
    long GetAppId() override { return 11; }
    long GetUserDogId() override { return 22; }
    CString GetUrl(ServiceKind kind) const override {
        if (!ownUrls_) return CServiceSupport::GetUrl(kind);
        CString url;
        url.Format("http://own/%d", static_cast<int>(kind));
        return url;
    }

  private:
    int* destroyed_;
    bool ownUrls_;
};

using WebServiceTest = ServiceTest;

// Asked of an assigned copy of a copy: copies keep the old flag.
TEST_F(WebServiceTest, SupportUrlOfEachKindComesFromTheConfiguration) {
    const struct {
        bool old;
        const char* urlDl;  // the configured old project-library URL
        int kind;
        const char* url;
    } cases[] = {{false, "http://old/", 0, "http://bzk/"},
                 {true, "http://old/", 0, "http://old/"},
                 {true, "", 0, "http://bzk/"},
                 {true, "http://old/", 1, "http://kqkh/"},
                 {true, "http://old/", 2, ""},
                 {true, "http://old/", -1, ""}};
    for (const auto& c : cases) {
        Configure({{"URL1", "http://kqkh/"}, {"URL2", "http://bzk/"}, {"URL_DL", c.urlDl}});
        const CountingSupport original(nullptr, c.old);
        CountingSupport support(nullptr, !c.old);
        support = CountingSupport(original);
        EXPECT_EQ(CString(c.url), support.GetUrl(static_cast<CServiceSupport::ServiceKind>(c.kind)))
            << c.old << " " << c.urlDl << " " << c.kind;
    }
}

// With none installed the identity is user 0, application 0, type -1. (What an installed one
// says reaches every data-store request.)
TEST_F(WebServiceTest, InstallingReplacesAndDeletesThePreviousSupportOnce) {
    EXPECT_EQ(
        (std::vector<long>{0, 0, -1}),
        (std::vector<long>{client().GetUserDogId(), client().GetAppId(), client().GetAppType()}));
    int first = 0, second = 0;
    client().SetServiceSupport(new CountingSupport(&first));
    CountingSupport* installed = new CountingSupport(&second);
    client().SetServiceSupport(installed);
    client().SetServiceSupport(installed);  // the same one again: kept
    EXPECT_EQ(std::make_pair(1, 0), std::make_pair(first, second));
    EXPECT_EQ(installed, client().GetServiceSupport());
    client().SetServiceSupport(nullptr);
    EXPECT_EQ(1, second);
    EXPECT_EQ(nullptr, client().GetServiceSupport());
    {
        CWebService local;
        local.SetServiceSupport(new CountingSupport(&first));
    }
    EXPECT_EQ(2, first);
}

// A given URL wins, else the configured project-library URL; with neither the call is made
// all the same and only then ExcuteCmd shows its box, the queries none. The reply text comes
// back whatever the exchange said, and the Bool forms judge it.
TEST_F(WebServiceTest, UniformCallGoesToTheGivenElseTheConfiguredUrl) {
    const CString reply = "{ret:2,msg:'m',data:''}";
    size_t boxesAtCall = 99;
    transport.SetResponder([&](const WebCall&) {
        boxesAtCall = Shown().size();
        return RecordingTransport::Reply(false, reply);
    });
    for (const std::string url : {kConfiguredUrl, ""}) {
        CIniManager::Instance().SetStrBzkWebService(url.c_str());
        presenter.Clear();
        transport.Clear();
        EXPECT_EQ(reply, client().ExcuteCmd("http://given/", "{a:1}"));
        EXPECT_EQ(reply, client().ExcuteCmd("", "Save", "arg", "{b:2}"));
        EXPECT_EQ(0u, boxesAtCall);
        EXPECT_EQ(reply, client().GetResultStr("", "{c:3}"));
        EXPECT_TRUE(client().ExcuteCmdBool("", "{d:4}"));
        EXPECT_TRUE(client().ExcuteCmdBool("http://given/", "Audit", "arg", "{e:5}"));
        // The enterprise URL, unconfigured here, has no fallback.
        EXPECT_EQ(reply, client().GetCorpQualitiesResultStr("g"));
        EXPECT_EQ((Strings{"http://given/ DoWork(jsonInput={a:1})", url + " Save(arg={b:2})",
                           url + " DoWork(jsonInput={c:3})", url + " DoWork(jsonInput={d:4})",
                           "http://given/ Audit(arg={e:5})", " GetCorpQualities(corpUserGuid=g)"}),
                  Sent());
        const Texts shown =
            url.empty() ? Texts{kMissingUrl, kMissingUrl, "m", "m"} : Texts{"m", "m"};
        EXPECT_EQ(shown, Shown());
    }
}

// The installed support decides the URL and gives the user id; without one the configured URL
// of the kind is asked for as user 0, and an unknown kind has none, so nothing is sent.
TEST_F(WebServiceTest, ObjectListQueriesGoToTheKindsUrlOrTheTargetGiven) {
    Configure({{"URL1", "http://kqkh/"}, {"URL2", "http://bzk/"}, {"URL_DL", "http://old/"}});
    transport.SetDefaultReply(true, "[{ID:7}]");
    std::vector<CTableRow*> rows;
    const basefun fn;
    std::vector<CString> texts{"old"};
    const std::pair<CString, long> target("http://x/", -5);
    EXPECT_TRUE(client().GetObListByKindAndSql(CServiceSupport::BzkService, "s0", rows, fn));
    EXPECT_TRUE(client().GetObListByKindAndSql(CServiceSupport::KQKHService, "s1", rows, fn));
    EXPECT_FALSE(client().GetObListByKindAndSql(CServiceSupport::ServiceKind(2), "s2", rows, fn));
    client().SetServiceSupport(new CountingSupport(nullptr, true));
    EXPECT_TRUE(client().GetObListByKindAndSql(CServiceSupport::BzkService, "s3", rows, fn));
    client().SetServiceSupport(new CountingSupport(nullptr, false, true));
    EXPECT_TRUE(client().GetObListByKindAndSql(CServiceSupport::ServiceKind(7), "s4", rows, fn));
    EXPECT_TRUE(client().GetObListByKindAndSql(target, "s5", rows, fn));
    EXPECT_TRUE(client().GetSQLResult(target, "s6", texts));
    const std::string ns = "http://tempuri.org/ObjectList/ ObjectList ";
    EXPECT_EQ((Strings{ns + "http://bzk/ GetXml(kind=0;userId=0;option=1;sql=s0)",
                       ns + "http://kqkh/ GetXml(kind=0;userId=0;option=1;sql=s1)",
                       ns + "http://old/ GetXml(kind=0;userId=22;option=1;sql=s3)",
                       ns + "http://own/7 GetXml(kind=0;userId=22;option=1;sql=s4)",
                       ns + "http://x/ GetXml(kind=0;userId=-5;option=1;sql=s5)",
                       ns + "http://x/ GetSqlFormated(kind=0;userId=-5;option=1;sql=s6)"}),
              Sent());
    EXPECT_EQ(5u, rows.size());
    EXPECT_EQ((std::vector<CString>{"old", "{ID:7}"}), texts);
    for (CTableRow* row : rows) delete row;
}

using CheckXMFZRTest = ServiceTest;

// Only code 9 before the first comma stops; the text after that comma (or the whole reply
// without one) must split at ":" into exactly four pieces, a ":" at the end adding none. The
// second call sends the first one's argument, then pieces 2 to 4.
TEST_F(CheckXMFZRTest, FirstReplyDecidesWhetherTheSecondExchangeIsMadeAndWithWhat) {
    // The reply, then the pieces the second call sends as "TypeFlag|RoleId|CertificateLevel";
    // empty: no second call.
    const std::pair<const char*, std::string> cases[] = {{"x,a:b:c:d", "b|c|d"},
                                                         {"8,a:b:c:d", "b|c|d"},
                                                         {"10,a:b:c:d", "b|c|d"},
                                                         {"9,a:b:c:d", ""},
                                                         {" 9x,a:b:c:d", ""},
                                                         {"9:b:c:d", "b|c|d"},
                                                         {"0,a:b:c:d:", "b|c|d"},
                                                         {"0,a:b:c:d::", ""},
                                                         {"0,a:b:c:d:e", ""},
                                                         {"0,a:b:c", ""},
                                                         {"", ""},
                                                         {"0,:::", ""},
                                                         {"0,a::c:d", "|c|d"},
                                                         {"2,a:b,x:c:d", "b,x|c|d"},
                                                         {"0,:::d", "||d"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        transport.Clear();
        transport.QueueReply(true, c.first);
        transport.QueueReply(true, "3;");
        bool answer = true;
        Strings expected = {"http://a/ CheckXMFZR(EmpId=-5)"};
        if (!c.second.empty()) {
            std::string pieces = c.second;
            pieces.replace(pieces.find('|'), 1, ";RoleId=");
            pieces.replace(pieces.find('|'), 1, ";CertificateLevel=");
            expected.push_back("http://b/ CheckXMFZRForCPlus(EmpId=-5;TypeFlag=" + pieces + ")");
        }
        EXPECT_EQ(expected,
                  SentBy([&] { answer = client().CheckXMFZR("http://a/", "http://b/", -5); }));
        EXPECT_EQ(!c.second.empty(), answer);
    }
    EXPECT_EQ(Texts{}, Shown());
}

TEST_F(CheckXMFZRTest, SecondAnswerMustBeTwoOrThreeBeforeASemicolon) {
    const std::pair<const char*, bool> cases[] = {
        {"3;", true},  {"2;anything", true}, {"3;x;y", true}, {" +2;", true}, {"1;", false},
        {"4;", false}, {"3", false},         {"", false},     {"-3;", false}};
    for (const auto& c : cases) {
        transport.QueueReply(true, "0,a:b:c:d");
        transport.QueueReply(true, c.first);
        // The second URL is not checked.
        EXPECT_EQ(c.second, client().CheckXMFZR("http://a/", "", 5)) << c.first;
    }
    EXPECT_EQ(CString(), transport.Calls().at(1).url);
    EXPECT_EQ(Texts{}, Shown());
}

using ProjectsTest = ServiceTest;

// Code 2 before the first semicolon succeeds; the ids after the last one, if there are two,
// are appended. Quotes in front are ignored.
TEST_F(ProjectsTest, RepliesGiveTheAnswerAndTheProjects) {
    const struct {
        const char* reply;
        bool result;
        std::vector<long> projects;
    } cases[] = {{"2;x;5,7", true, {1, 5, 7}},
                 {"2;a;b;9,-10x", true, {1, 9, -10}},
                 {"\"\"2;x;5,7\"", true, {1, 5, 7}},
                 {"2;x;9223372036854775808", true, {1, LONG_MAX}},
                 {"2;;5", true, {1, 5}},
                 {"2;ok", true, {1}},
                 {"2;", true, {1}},
                 {"1;x;5", false, {1}},
                 {"3;x;5", false, {1}},
                 {"2", false, {1}},
                 {"", false, {1}}};
    for (const auto& c : cases) {
        std::vector<long> projects{1};
        transport.QueueReply(true, c.reply);
        EXPECT_EQ(c.result,
                  client().GetXMFZRYZProjects("http://p/", "E1", 12, -3, "3201", projects))
            << c.reply;
        EXPECT_EQ(c.projects, projects) << c.reply;
        transport.QueueReply(true, c.reply);
        EXPECT_EQ(c.result, client().CheckXMFZRForCpp("http://p/", "E1", 12, -3, "3201"));
    }
    EXPECT_EQ(Strings(2 * std::size(cases),
                      "http://p/ CheckXMFZRForCpp(empId=E1;corpDogId=12;roleId=-3;areaCode=3201)"),
              Sent());
    EXPECT_EQ(Texts{}, Shown());
}

// CheckXMFZR reports a missing first URL and ends silently on a failed exchange; the project
// queries show the failed exchange's text and keep the list. Their URL is not tested: the
// call goes out without one.
TEST_F(ProjectsTest, MissingUrlOrAFailedExchangeGivesFalse) {
    EXPECT_FALSE(client().CheckXMFZR("", "http://b/", 5));
    EXPECT_EQ(Texts{"url 未定义：CheckXMFZR"}, Shown());
    transport.QueueReply(false, "0,a:b:c:d");
    EXPECT_FALSE(client().CheckXMFZR("http://a/", "http://b/", 5));
    transport.QueueReply(true, "0,a:b:c:d");
    transport.QueueReply(false, "3;");
    EXPECT_FALSE(client().CheckXMFZR("http://a/", "http://b/", 5));
    EXPECT_EQ(3u, transport.CallCount());
    transport.Clear();
    presenter.Clear();
    std::vector<long> projects{8};
    transport.QueueReply(false, "无法连接服务器：refused");
    transport.QueueReply(false, "超时");
    EXPECT_FALSE(client().GetXMFZRYZProjects("", "E1", 1, 2, "3", projects));
    EXPECT_FALSE(client().CheckXMFZRForCpp("", "E1", 1, 2, "3"));
    EXPECT_EQ((Texts{"无法连接服务器：refused", "超时"}), Shown());
    EXPECT_EQ(std::vector<long>{8}, projects);
    EXPECT_EQ(Strings(2, " CheckXMFZRForCpp(empId=E1;corpDogId=1;roleId=2;areaCode=3)"), Sent());
}

}  // namespace
