#include "config/CIniManager.h"

#include <climits>

#include "gridcore/CIniFile.h"
#include "gridcore/CTableRow.h"
#include "gridcore/CZIPAndEntryTool.h"
#include "platform/CFile.h"
#include "platform/detail/Atoi.h"

namespace {

constexpr char kSystemSection[] = "SYSTEM";
constexpr char kTransportSection[] = "Transport";

// The ids of a comma list: the first piece is always taken, so an empty text gives one id 0,
// and a "," at the very end adds none. Each piece converts as atol does.
void AppendIds(const CString& text, std::vector<long>& ids) {
    std::vector<CString> pieces;
    for (const CString& piece : CTableRow::gSplit(text, ",", pieces)) {
        ids.push_back(AtolText(piece.GetString()));
    }
}

CString JoinIds(const std::vector<long>& ids) {
    CString text;
    for (size_t i = 0; i < ids.size(); ++i) {
        CString id;
        id.Format(i == 0 ? "%ld" : ",%ld", ids[i]);
        text += id;
    }
    return text;
}

// The transport keys and the settings they fill: exactly one of the three members is set.
struct TransportKey {
    const char* key;
    CString WireSettings::*path;  // relative to the configuration file's folder
    CString WireSettings::*text;
    long WireSettings::*milliseconds;  // given in seconds
};

constexpr TransportKey kTransportKeys[] = {
    {"CAFile", &WireSettings::caFile, nullptr, nullptr},
    {"CAPath", &WireSettings::caPath, nullptr, nullptr},
    {"ClientCert", &WireSettings::clientCert, nullptr, nullptr},
    {"ClientKey", &WireSettings::clientKey, nullptr, nullptr},
    {"Proxy", nullptr, &WireSettings::proxy, nullptr},
    {"NoProxy", nullptr, &WireSettings::noProxy, nullptr},
    {"ConnectTimeout", nullptr, nullptr, &WireSettings::connectTimeoutMs},
    {"Timeout", nullptr, nullptr, &WireSettings::totalTimeoutMs},
};

// libcurl's millisecond options are a long, which holds no more than this on every platform.
constexpr long kMaxMilliseconds = INT_MAX;

// Seconds as a decimal number ("10", "2.5", ".25"), in milliseconds. Fractions finer than a
// millisecond round up, so that no positive number turns into 0. False for anything else,
// for 0 and for more than kMaxMilliseconds.
bool ReadSeconds(const char* text, long& milliseconds) {
    long whole = 0;
    long fraction = 0;  // milliseconds
    bool finer = false;
    bool digits = false;
    const char* p = text;
    for (; *p >= '0' && *p <= '9'; ++p, digits = true) {
        whole = whole * 10 + (*p - '0');
        if (whole > kMaxMilliseconds / 1000) return false;
    }
    if (*p == '.') {
        for (long scale = 100; *++p >= '0' && *p <= '9'; scale /= 10, digits = true) {
            fraction += (*p - '0') * scale;
            finer = finer || (scale == 0 && *p != '0');
        }
    }
    const long total = whole * 1000 + fraction + (finer ? 1 : 0);
    if (!digits || *p != '\0' || total <= 0 || total > kMaxMilliseconds) return false;
    milliseconds = total;
    return true;
}

// The folder of a file's path with its final "/", or empty when the path names none.
CString FolderOf(const CString& path) {
    const int slash = path.ReverseFind('/');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

}  // namespace

// A configuration key and the field it fills: exactly one of the four members is set.
struct CIniManager::Setting {
    const char* key;
    bool system;  // in "SYSTEM", read by ReadFirstCmd; else in the area section
    CString CIniManager::*text;
    int CIniManager::*number;
    bool CIniManager::*flag;              // true when the number is not 0
    std::vector<long> CIniManager::*ids;  // a comma list, appended to the field
};

// In the order they are read.
const CIniManager::Setting CIniManager::kSettings[] = {
    {"URL0", false, &CIniManager::m_strEnterpriseWebService, nullptr, nullptr, nullptr},
    {"URL1", false, &CIniManager::m_strKQKHWebService, nullptr, nullptr, nullptr},
    {"URL2", false, &CIniManager::m_strBzkWebService, nullptr, nullptr, nullptr},
    {"URL3", false, &CIniManager::m_strSegmentService, nullptr, nullptr, nullptr},
    {"bGetFtpInfoFromINI", false, nullptr, nullptr, &CIniManager::m_bGetFtpInfoFromINI, nullptr},
    {"CheckManager", false, &CIniManager::m_strCheckManagerService, nullptr, nullptr, nullptr},
    {"AopService", false, &CIniManager::m_strAopService, nullptr, nullptr, nullptr},
    {"FTPServer", false, &CIniManager::m_strFtpServer, nullptr, nullptr, nullptr},
    {"FTPUser", false, &CIniManager::m_strFtpUserName, nullptr, nullptr, nullptr},
    {"FTPPWD", false, &CIniManager::m_strFtpPassWord, nullptr, nullptr, nullptr},
    {"LoadAddButton", false, &CIniManager::m_strLoadButton, nullptr, nullptr, nullptr},
    {"Issuer", false, &CIniManager::m_strIssuer, nullptr, nullptr, nullptr},
    {"PrintModel", false, nullptr, &CIniManager::m_nPrintModel, nullptr, nullptr},
    {"bChangeReasonMust", false, nullptr, nullptr, &CIniManager::m_bChangeReasonMust, nullptr},
    {"bAddTHSeggestionMust", false, nullptr, nullptr, &CIniManager::m_bAddTHSeggestionMust,
     nullptr},
    {"bNeedAudit", false, nullptr, nullptr, &CIniManager::m_bNeedAudit, nullptr},
    {"isNeedSearch", false, nullptr, nullptr, &CIniManager::m_bNeedSearch, nullptr},
    {"EmpConstraints1", false, &CIniManager::m_strEmpConstraints1, nullptr, nullptr, nullptr},
    {"EmpConstraints2", false, &CIniManager::m_strEmpConstraints2, nullptr, nullptr, nullptr},
    {"URL_DL", false, &CIniManager::m_strBzkWebService_old, nullptr, nullptr, nullptr},
    {"FirstCmd", true, &CIniManager::m_strFirstCmd, nullptr, nullptr, nullptr},
    {"ZbdlDogIds", true, nullptr, nullptr, nullptr, &CIniManager::m_ZbdlDogIds},
    {"ZbdlAndSgjlDogIds", true, nullptr, nullptr, nullptr, &CIniManager::m_ZbdlAndSgjlDogIds},
    {"kcsjDogIds", true, nullptr, nullptr, nullptr, &CIniManager::m_KcsjDogIds},
    {"AppType", true, nullptr, &CIniManager::m_nAppType, nullptr, nullptr},
};

CIniManager::CIniManager()
    : m_bGetFtpInfoFromINI(false),
      m_areaSection(AreaSection::none),
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

CString CIniManager::AreaSectionName(const CString& area) { return "Area_" + area; }

void CIniManager::ReadSettings(const CIniFile& ini, const CString& section, bool system) {
    for (const Setting& setting : kSettings) {
        if (setting.system != system) continue;
        if (setting.text != nullptr) {
            this->*setting.text = ini.GetValue(section, setting.key);
        } else if (setting.number != nullptr) {
            this->*setting.number = ini.GetValueI(section, setting.key);
        } else if (setting.flag != nullptr) {
            this->*setting.flag = ini.GetValueI(section, setting.key) != 0;
        } else {
            AppendIds(ini.GetValue(section, setting.key), this->*setting.ids);
        }
    }
}

std::vector<std::pair<CString, CString>> CIniManager::SettingTexts(bool system) const {
    std::vector<std::pair<CString, CString>> texts;
    for (const Setting& setting : kSettings) {
        if (setting.system != system) continue;
        CString value;
        if (setting.text != nullptr) {
            value = this->*setting.text;
        } else if (setting.number != nullptr) {
            value.Format("%d", this->*setting.number);
        } else if (setting.flag != nullptr) {
            value = this->*setting.flag ? "true" : "false";
        } else {
            value = JoinIds(this->*setting.ids);
        }
        texts.emplace_back(setting.key, value);
    }
    return texts;
}

std::vector<std::pair<CString, CString>> CIniManager::GetAreaSettingTexts() const {
    return SettingTexts(false);
}

std::vector<std::pair<CString, CString>> CIniManager::GetSystemSettingTexts() const {
    return SettingTexts(true);
}

bool CIniManager::SetTransportSetting(WireSettings& settings, const CString& key,
                                      const CString& value, const CString& folder) {
    for (const TransportKey& row : kTransportKeys) {
        if (key != row.key) continue;
        if (row.milliseconds != nullptr) return ReadSeconds(value, settings.*row.milliseconds);
        if (row.text != nullptr) {
            settings.*row.text = value;
        } else {
            const bool relative = !value.IsEmpty() && value.GetAt(0) != '/';
            settings.*row.path = relative ? folder + value : value;
        }
        return true;
    }
    return false;
}

bool CIniManager::ReadIniFile(const CString& path, const CString& area) {
    // Declared in this order so that they are destroyed as reader, unpacked file, unpacker.
    CZIPAndEntryTool unpacker;
    ZipRet unpacked = unpacker.UnZip(path);

    CFileStatus status;
    if (!CFile::GetStatus(path, status)) return false;

    CIniFile ini(unpacked.strPath);
    if (!ini.ReadFile()) return false;

    CString section = AreaSectionName(area);
    m_areaSection = AreaSection::area;
    if (ini.GetValue(section, "URL2").IsEmpty()) {
        section = AreaSectionName("default");
        m_areaSection = ini.HasSection(section) ? AreaSection::areaDefault : AreaSection::none;
    }
    ReadSettings(ini, section, false);

    if (ini.HasSection(kTransportSection)) {
        WireSettings settings;
        settings.maxReplyBytes = GetWireSettings().maxReplyBytes;
        // A packed file's paths are relative to the archive's folder, not the unpacked copy's.
        const CString folder = FolderOf(path);
        for (const TransportKey& row : kTransportKeys) {
            const CString value = ini.GetValue(kTransportSection, row.key);
            if (!value.IsEmpty()) SetTransportSetting(settings, row.key, value, folder);
        }
        SetWireSettings(settings);
    }
    return true;
}

bool CIniManager::ReadFirstCmd(const CString& path) {
    CZIPAndEntryTool unpacker;
    ZipRet unpacked = unpacker.UnZip(path);
    CIniFile ini(unpacked.strPath);
    if (!ini.ReadFile()) return false;
    ReadSettings(ini, kSystemSection, true);
    return true;
}
