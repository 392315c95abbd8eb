#include "service/CWebService.h"

#include "config/CIniManager.h"
#include "gridcore/CTableRow.h"
#include "gridcore/CXML_FormatItemManager.h"
#include "platform/MessageBox.h"
#include "platform/detail/Atoi.h"
#include "service/ServiceNames.h"
#include "service/ServiceRetValue.h"
#include "service/detail/ServiceCalls.h"

namespace {

constexpr const char kUniformMethod[] = "DoWork";
constexpr const char kUniformArgument[] = "jsonInput";
constexpr const char kMissingUrl[] = "缺少项目库url";
constexpr const char kMissingCheckUrl[] = "url 未定义：CheckXMFZR";
constexpr const char kObjectListMethod[] = "GetXml";
constexpr const char kSqlResultMethod[] = "GetSqlFormated";

// The decimal value of a text as the C runtime's atol reads it; 0 when nothing converts.
long DecimalValue(const CString& text) { return AtolText(text.GetString()); }

// The code of a delimited reply: the decimal value of the text before the first `delimiter`,
// or 0 when there is none.
long LeadingCode(const CString& reply, char delimiter) {
    int end = reply.Find(delimiter);
    return end < 0 ? 0 : DecimalValue(reply.Left(end));
}

// The uniform call: one argument to `method`, at `url` or else at the configured
// project-library URL. The reply text comes back whether or not the exchange succeeded.
CString UniformCall(const CString& url, const CString& method, const CString& argName,
                    const CString& argValue, bool warnWhenNoUrl) {
    const CString target = ProjectLibraryUrl(url);
    CString reply = CallUniteInterface(target, method, {{argName, argValue}}).second;
    // The call is made all the same, so the user sees the box after what the transport did.
    if (warnWhenNoUrl && target.IsEmpty()) AfxMessageBox(kMissingUrl, MB_OK);
    return reply;
}

}  // namespace

CWebService CWebService::inst;

CWebService::~CWebService() { delete m_pServiceSupport; }

CWebService& CWebService::instance() { return inst; }

void CWebService::SetServiceSupport(CServiceSupport* support) {
    if (support == m_pServiceSupport) return;
    delete m_pServiceSupport;
    m_pServiceSupport = support;
}

long CWebService::GetUserDogId() const {
    return m_pServiceSupport ? m_pServiceSupport->GetUserDogId() : 0;
}

long CWebService::GetAppId() const { return m_pServiceSupport ? m_pServiceSupport->GetAppId() : 0; }

long CWebService::GetAppType() const {
    return m_pServiceSupport ? m_pServiceSupport->GetAppType() : -1;
}

CString CWebService::ExcuteCmd(const CString& url, const CString& json) const {
    return ExcuteCmd(url, kUniformMethod, kUniformArgument, json);
}

CString CWebService::ExcuteCmd(const CString& url, const CString& method, const CString& argName,
                               const CString& argValue) const {
    return UniformCall(url, method, argName, argValue, true);
}

bool CWebService::ExcuteCmdBool(const CString& url, const CString& json) const {
    return ServiceRetValue(ExcuteCmd(url, json)).MessageAndRet();
}

bool CWebService::ExcuteCmdBool(const CString& url, const CString& method, const CString& argName,
                                const CString& argValue) const {
    return ServiceRetValue(ExcuteCmd(url, method, argName, argValue)).MessageAndRet();
}

CString CWebService::GetResultStr(const CString& url, const CString& json) const {
    return UniformCall(url, kUniformMethod, kUniformArgument, json, false);
}

CString CWebService::GetCorpQualitiesResultStr(const CString& corpUserGuid) const {
    return CallUniteInterface(CIniManager::Instance().GetEnterpriseWebService(), "GetCorpQualities",
                              {{"corpUserGuid", corpUserGuid}})
        .second;
}

bool CWebService::GetObListByKindAndSql(CServiceSupport::ServiceKind kind, const CString& sql,
                                        std::vector<CTableRow*>& rows, const basefun& fn) const {
    // Without a support object the old set-up plays no part.
    std::pair<CString, long> target(ConfiguredServiceUrl(kind, false), 0);
    if (m_pServiceSupport) {
        target.first = m_pServiceSupport->GetUrl(kind);
        target.second = m_pServiceSupport->GetUserDogId();
    }
    return GetObListByKindAndSql(target, sql, rows, fn);
}

bool CWebService::GetObListByKindAndSql(const std::pair<CString, long>& target, const CString& sql,
                                        std::vector<CTableRow*>& rows, const basefun& fn) const {
    CXML_FormatItemManager query(target.first, kObjectListNamespace, kObjectListMethod);
    CString text = sql;
    return query.GetObListFromServer(0, target.second, 1, text, rows, fn);
}

bool CWebService::GetSQLResult(const std::pair<CString, long>& target, const CString& sql,
                               std::vector<CString>& result) const {
    CXML_FormatItemManager query(target.first, kObjectListNamespace, kSqlResultMethod);
    CString text = sql;
    return query.GetResultFromServer(0, target.second, 1, text, result);
}

bool CWebService::CheckXMFZR(const CString& url, const CString& urlForCPlus, long empId) const {
    if (url.IsEmpty()) {
        AfxMessageBox(kMissingCheckUrl, MB_OK);
        return false;
    }
    // The second exchange sends the first one's argument followed by three more.
    RemoteArguments arguments{{"EmpId", DecimalText(empId)}};
    std::pair<bool, CString> first = CallUniteInterface(url, "CheckXMFZR", arguments);
    if (!first.first) return false;

    const CString& reply = first.second;
    int comma = reply.Find(',');
    long code = comma < 0 ? 0 : DecimalValue(reply.Left(comma));
    if (code == 9) return false;
    // The first piece is always taken and a ":" at the very end adds none.
    std::vector<CString> pieces;
    CTableRow::gSplit(comma < 0 ? reply : reply.Mid(comma + 1), ":", pieces);
    if (pieces.size() != 4) return false;

    arguments.emplace_back("TypeFlag", pieces[1]);
    arguments.emplace_back("RoleId", pieces[2]);
    arguments.emplace_back("CertificateLevel", pieces[3]);
    std::pair<bool, CString> second =
        CallUniteInterface(urlForCPlus, "CheckXMFZRForCPlus", arguments);
    if (!second.first) return false;

    long answer = LeadingCode(second.second, ';');
    return answer == 2 || answer == 3;
}

bool CWebService::GetXMFZRYZProjects(const CString& url, const CString& empId, long corpDogId,
                                     long roleId, const CString& areaCode,
                                     std::vector<long>& projects) const {
    std::pair<bool, CString> result = CallUniteInterface(url, "CheckXMFZRForCpp",
                                                         {{"empId", empId},
                                                          {"corpDogId", DecimalText(corpDogId)},
                                                          {"roleId", DecimalText(roleId)},
                                                          {"areaCode", areaCode}});
    if (!result.first) {
        AfxMessageBox(result.second, MB_OK);
        return false;
    }

    // Some back-ends answer with a quoted text; the quotes in front are not part of the code.
    CString reply = result.second;
    reply.TrimLeft('"');
    int firstSemicolon = reply.Find(';');
    if (firstSemicolon < 0) return false;
    if (DecimalValue(reply.Left(firstSemicolon)) != 2) return false;
    int lastSemicolon = reply.ReverseFind(';');
    if (lastSemicolon == firstSemicolon) return true;

    std::vector<CString> ids;
    CTableRow::gSplit(reply.Mid(lastSemicolon + 1), ",", ids);
    for (const CString& id : ids) projects.push_back(DecimalValue(id));
    return true;
}

bool CWebService::CheckXMFZRForCpp(const CString& url, const CString& empId, long corpDogId,
                                   long roleId, const CString& areaCode) const {
    std::vector<long> scratch;
    return GetXMFZRYZProjects(url, empId, corpDogId, roleId, areaCode, scratch);
}
