// Feeds arbitrary bytes to the configuration path: written as a file, unpacked when they look
// like a zip, read by the INI reader, looked up, and loaded by a configuration store.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "config/CIniManager.h"
#include "gridcore/CIniFile.h"
#include "gridcore/CZIPAndEntryTool.h"

namespace {

std::string g_path;

void RemoveInput() { unlink(g_path.c_str()); }

const std::string& InputPath() {
    if (g_path.empty()) {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "fuzz_ini-XXXXXX").string();
        int fd = mkstemp(pattern.data());
        if (fd < 0) abort();
        close(fd);
        g_path = pattern;
        atexit(RemoveInput);
    }
    return g_path;
}

void WriteInput(const uint8_t* data, size_t size) {
    FILE* file = fopen(InputPath().c_str(), "wb");
    if (file == nullptr) abort();
    if (size > 0 && fwrite(data, 1, size, file) != size) abort();
    fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(data, size);
    const CString path(InputPath().c_str());

    ZipRet unpacked = CZIPAndEntryTool().UnZip(path);
    CIniFile ini(unpacked.strPath);
    if (ini.ReadFile()) {
        // A look-up named by the input itself, so that present keys are found too.
        std::string text(reinterpret_cast<const char*>(data), size);
        size_t cut = text.size() / 2;
        ini.GetValue(text.substr(0, cut).c_str(), text.substr(cut).c_str());
        ini.GetValue("SYSTEM", "FirstCmd");
        ini.GetValueI("Area_default", "PrintModel");
        ini.GetValueI("", "");
    }

    CIniManager settings;
    settings.ReadIniFile(path, "0571");
    settings.ReadFirstCmd(path);
    return 0;
}
