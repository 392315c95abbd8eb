// xmk config: loads a configuration file the way an application does and prints every
// setting with the key and the section it came from.
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "Commands.h"
#include "config/CIniManager.h"

namespace {

int Usage(std::FILE* out = stderr) {
    std::fprintf(out,
                 "usage: xmk config --ini FILE [--area CODE]\n"
                 "  Loads FILE (plain INI text or a zip holding it) for the area CODE and prints\n"
                 "  each setting, the section it came from and its value. Without --area the\n"
                 "  area is empty, which reads \"Area_\" or else \"Area_default\".\n");
    return out == stdout ? kExitSuccess : kExitUsage;
}

void PrintRows(const CString& section, const std::vector<std::pair<CString, CString>>& rows) {
    for (const auto& [key, value] : rows) {
        std::printf("%-16s %-22s %s\n", section.GetString(), key.GetString(), value.GetString());
    }
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

    CIniManager& settings = CIniManager::Instance();
    if (!settings.ReadIniFile(ini, area) || !settings.ReadFirstCmd(ini)) {
        std::fprintf(stderr,
                     "xmk config: %s: cannot be read (missing, not a regular file, or a damaged "
                     "archive)\n",
                     ini);
        return kExitConfiguration;
    }
    const CIniManager::AreaSection found = settings.GetAreaSection();
    if (found == CIniManager::AreaSection::none) {
        std::fprintf(stderr,
                     "xmk config: %s gives area \"%s\" no settings: it holds neither [%s] with "
                     "a URL2 nor [%s]\n",
                     ini, area, CIniManager::AreaSectionName(area).GetString(),
                     CIniManager::AreaSectionName("default").GetString());
        return kExitConfiguration;
    }
    const CString section =
        CIniManager::AreaSectionName(found == CIniManager::AreaSection::area ? area : "default");
    std::printf("file %s, area \"%s\", section %s\n\n", ini, area, section.GetString());
    std::printf("%-16s %-22s %s\n", "SECTION", "KEY", "VALUE");
    PrintRows(section, settings.GetAreaSettingTexts());
    PrintRows("SYSTEM", settings.GetSystemSettingTexts());
    return kExitSuccess;
}
