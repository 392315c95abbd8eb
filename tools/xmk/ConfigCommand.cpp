// xmk config: loads a configuration file the way an application does and prints every
// setting with the key and the section it came from.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"
#include "config/CIniManager.h"
#include "gridcore/CIniFile.h"
#include "gridcore/CZIPAndEntryTool.h"
#include "platform/CFile.h"

namespace {

int Usage(std::FILE* out = stderr) {
    std::fprintf(out,
                 "usage: xmk config --ini FILE [--area CODE]\n"
                 "  Loads FILE (plain INI text or a zip holding it) for the area CODE and prints\n"
                 "  each setting, the section it came from and its value. Without --area the\n"
                 "  area is empty, which reads \"Area_\" or else \"Area_default\".\n");
    return out == stdout ? 0 : 2;
}

std::string Text(const CString& value) { return value.Str(); }
std::string Flag(bool value) { return value ? "true" : "false"; }
std::string Ids(const std::vector<long>& ids) {
    std::string text;
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(ids[i]);
    }
    return text;
}

struct Printed {
    const char* key;
    std::string (*value)(const CIniManager&);
};

// In the order the store reads them.
constexpr Printed kAreaSettings[] = {
    {"URL0", [](const CIniManager& m) { return Text(m.GetEnterpriseWebService()); }},
    {"URL1", [](const CIniManager& m) { return Text(m.GetKQKHWebService()); }},
    {"URL2", [](const CIniManager& m) { return Text(m.GetBzkWebService()); }},
    {"URL3", [](const CIniManager& m) { return Text(m.GetSegmentService()); }},
    {"bGetFtpInfoFromINI", [](const CIniManager& m) { return Flag(m.IsGetFtpInfoFromINI()); }},
    {"CheckManager", [](const CIniManager& m) { return Text(m.GetCheckManagerService()); }},
    {"AopService", [](const CIniManager& m) { return Text(m.GetAopService()); }},
    {"FTPServer", [](const CIniManager& m) { return Text(m.GetstrFtpServer()); }},
    {"FTPUser", [](const CIniManager& m) { return Text(m.GetstrFtpUserName()); }},
    {"FTPPWD", [](const CIniManager& m) { return Text(m.GetstrFtpPassWord()); }},
    {"LoadAddButton", [](const CIniManager& m) { return Text(m.GetstrLoadButton()); }},
    {"Issuer", [](const CIniManager& m) { return Text(m.GetIssuer()); }},
    {"PrintModel", [](const CIniManager& m) { return std::to_string(m.GetPrintModel()); }},
    {"bChangeReasonMust", [](const CIniManager& m) { return Flag(m.IsChangeReasonMust()); }},
    {"bAddTHSeggestionMust", [](const CIniManager& m) { return Flag(m.IsAddTHSeggestionMust()); }},
    {"bNeedAudit", [](const CIniManager& m) { return Flag(m.IsNeedAudit()); }},
    {"isNeedSearch", [](const CIniManager& m) { return Flag(m.isNeedSearch()); }},
    {"EmpConstraints1", [](const CIniManager& m) { return Text(m.GetEmpConstraints1()); }},
    {"EmpConstraints2", [](const CIniManager& m) { return Text(m.GetEmpConstraints2()); }},
    {"URL_DL", [](const CIniManager& m) { return Text(m.GetBzkWebService_old()); }},
};

constexpr Printed kSystemSettings[] = {
    {"FirstCmd", [](const CIniManager& m) { return Text(m.GetFirstCmd()); }},
    {"AppType", [](const CIniManager& m) { return std::to_string(m.GetAppType()); }},
    {"ZbdlDogIds", [](const CIniManager& m) { return Ids(m.GetZbdlDogIds()); }},
    {"ZbdlAndSgjlDogIds", [](const CIniManager& m) { return Ids(m.GetZbdlAndSgjlDogIds()); }},
    {"kcsjDogIds", [](const CIniManager& m) { return Ids(m.GetKcsjDogIds()); }},
};

// The section the store chose: the area's own when it has "URL2", else the default. The file
// was just read successfully, so reading it again here sees the same text.
CString ChosenSection(const CString& path, const CString& area) {
    CString section;
    section.Format("Area_%s", area.GetString());
    ZipRet unpacked = CZIPAndEntryTool().UnZip(path);
    CIniFile ini(unpacked.strPath);
    if (!ini.ReadFile() || ini.GetValue(section, "URL2").IsEmpty()) section = "Area_default";
    return section;
}

void PrintRow(const char* section, const char* key, const std::string& value) {
    std::printf("%-16s %-22s %s\n", section, key, value.c_str());
}

}  // namespace

int RunConfigCommand(int argc, char** argv) {
    const char* ini = nullptr;
    const char* area = "";
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return Usage(stdout);
        } else if (std::strcmp(argv[i], "--ini") == 0 && i + 1 < argc) {
            ini = argv[++i];
        } else if (std::strcmp(argv[i], "--area") == 0 && i + 1 < argc) {
            area = argv[++i];
        } else {
            return Usage();
        }
    }
    if (ini == nullptr) return Usage();

    CFileStatus status;
    if (!CFile::GetStatus(ini, status)) {
        std::fprintf(stderr, "xmk config: %s: no such file\n", ini);
        return 1;
    }
    CIniManager& settings = CIniManager::Instance();
    if (!settings.ReadIniFile(ini, area) || !settings.ReadFirstCmd(ini)) {
        std::fprintf(stderr,
                     "xmk config: %s: cannot be read (not a readable file, or a damaged "
                     "archive)\n",
                     ini);
        return 1;
    }

    CString section = ChosenSection(ini, area);
    std::printf("file %s, area \"%s\", section %s\n\n", ini, area, section.GetString());
    PrintRow("SECTION", "KEY", "VALUE");
    for (const Printed& setting : kAreaSettings) {
        PrintRow(section, setting.key, setting.value(settings));
    }
    for (const Printed& setting : kSystemSettings) {
        PrintRow("SYSTEM", setting.key, setting.value(settings));
    }
    return 0;
}
