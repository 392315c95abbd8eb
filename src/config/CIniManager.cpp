#include "config/CIniManager.h"

#include <cstdlib>

#include "gridcore/CIniFile.h"
#include "gridcore/CTableRow.h"
#include "gridcore/CZIPAndEntryTool.h"
#include "platform/CFile.h"

namespace {

// The ids of a comma list: the first piece is always taken, so an empty text gives one id 0,
// and a "," at the very end adds none. Each piece converts as atol does (strtol gives the
// same reading with defined behaviour on overflow).
void AppendIds(const CString& text, std::vector<long>& ids) {
    std::vector<CString> pieces;
    for (const CString& piece : CTableRow::gSplit(text, ",", pieces)) {
        ids.push_back(std::strtol(piece.GetString(), nullptr, 10));
    }
}

}  // namespace

CIniManager::CIniManager()
    : m_bGetFtpInfoFromINI(false),
      m_nPrintModel(0),
      m_bChangeReasonMust(false),
      m_bAddTHSeggestionMust(false),
      m_bNeedAudit(false),
      m_bNeedSearch(false),
      m_nAppType(0) {}

CIniManager::CIniManager(const CIniManager& other) = default;

CIniManager& CIniManager::operator=(const CIniManager& other) = default;

CIniManager::~CIniManager() = default;

CIniManager& CIniManager::Instance() {
    static CIniManager instance;
    return instance;
}

void CIniManager::SetStrBzkWebService(const CString& url) { m_strBzkWebService = url; }

bool CIniManager::ReadIniFile(const CString& path, const CString& area) {
    // Declared in this order so that they are destroyed as reader, unpacked file, unpacker.
    CZIPAndEntryTool unpacker;
    ZipRet unpacked = unpacker.UnZip(path);

    CFileStatus status;
    if (!CFile::GetStatus(path, status)) return false;

    CIniFile ini(unpacked.strPath);
    if (!ini.ReadFile()) return false;

    CString section;
    section.Format("Area_%s", area.GetString());
    if (ini.GetValue(section, "URL2").IsEmpty()) section = "Area_default";

    // Each key goes to exactly one of the three kinds of field.
    struct Setting {
        const char* key;
        CString CIniManager::*text;
        int CIniManager::*number;
        bool CIniManager::*flag;
    };
    static constexpr Setting kSettings[] = {
        {"URL0", &CIniManager::m_strEnterpriseWebService, nullptr, nullptr},
        {"URL1", &CIniManager::m_strKQKHWebService, nullptr, nullptr},
        {"URL2", &CIniManager::m_strBzkWebService, nullptr, nullptr},
        {"URL3", &CIniManager::m_strSegmentService, nullptr, nullptr},
        {"bGetFtpInfoFromINI", nullptr, nullptr, &CIniManager::m_bGetFtpInfoFromINI},
        {"CheckManager", &CIniManager::m_strCheckManagerService, nullptr, nullptr},
        {"AopService", &CIniManager::m_strAopService, nullptr, nullptr},
        {"FTPServer", &CIniManager::m_strFtpServer, nullptr, nullptr},
        {"FTPUser", &CIniManager::m_strFtpUserName, nullptr, nullptr},
        {"FTPPWD", &CIniManager::m_strFtpPassWord, nullptr, nullptr},
        {"LoadAddButton", &CIniManager::m_strLoadButton, nullptr, nullptr},
        {"Issuer", &CIniManager::m_strIssuer, nullptr, nullptr},
        {"PrintModel", nullptr, &CIniManager::m_nPrintModel, nullptr},
        {"bChangeReasonMust", nullptr, nullptr, &CIniManager::m_bChangeReasonMust},
        {"bAddTHSeggestionMust", nullptr, nullptr, &CIniManager::m_bAddTHSeggestionMust},
        {"bNeedAudit", nullptr, nullptr, &CIniManager::m_bNeedAudit},
        {"isNeedSearch", nullptr, nullptr, &CIniManager::m_bNeedSearch},
        {"EmpConstraints1", &CIniManager::m_strEmpConstraints1, nullptr, nullptr},
        {"EmpConstraints2", &CIniManager::m_strEmpConstraints2, nullptr, nullptr},
        {"URL_DL", &CIniManager::m_strBzkWebService_old, nullptr, nullptr},
    };
    for (const Setting& setting : kSettings) {
        if (setting.text != nullptr) {
            this->*setting.text = ini.GetValue(section, setting.key);
        } else if (setting.number != nullptr) {
            this->*setting.number = ini.GetValueI(section, setting.key);
        } else {
            this->*setting.flag = ini.GetValueI(section, setting.key) != 0;
        }
    }
    return true;
}

bool CIniManager::ReadFirstCmd(const CString& path) {
    CZIPAndEntryTool unpacker;
    ZipRet unpacked = unpacker.UnZip(path);
    CIniFile ini(unpacked.strPath);
    if (!ini.ReadFile()) return false;

    m_strFirstCmd = ini.GetValue("SYSTEM", "FirstCmd");
    struct IdList {
        const char* key;
        std::vector<long> CIniManager::*ids;
    };
    static constexpr IdList kIdLists[] = {
        {"ZbdlDogIds", &CIniManager::m_ZbdlDogIds},
        {"ZbdlAndSgjlDogIds", &CIniManager::m_ZbdlAndSgjlDogIds},
        {"kcsjDogIds", &CIniManager::m_KcsjDogIds},
    };
    for (const IdList& list : kIdLists) {
        AppendIds(ini.GetValue("SYSTEM", list.key), this->*list.ids);
    }
    m_nAppType = ini.GetValueI("SYSTEM", "AppType");
    return true;
}
