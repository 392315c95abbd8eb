#include "DataStoreOptions.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config/CIniManager.h"
#include "service/CServiceSupport.h"
#include "service/CWebService.h"

namespace {

// The identity the tool sends; the URLs come from the configuration as usual.
class ToolServiceSupport : public CServiceSupport {
  public:
    ToolServiceSupport(long userId, long appType) : userId_(userId), appType_(appType) {}

    long GetAppId() override { return 0; }
    long GetUserDogId() override { return userId_; }
    long GetAppType() const override { return appType_; }

  private:
    long userId_;
    long appType_;
};

bool ParseInt(const char* text, int& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < INT_MIN || value > INT_MAX) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

bool SetText(CString& field, const char* value) {
    field = value;
    return true;
}

bool SetLong(long& field, const char* value) {
    int number = 0;
    if (!ParseInt(value, number)) return false;
    field = number;
    return true;
}

struct OptionSpec {
    const char* name;
    bool takesValue;
    bool common;
    bool (*apply)(DataStoreOptions& options, const char* value);
};

constexpr OptionSpec kOptions[] = {
    {"--ini", true, true, [](DataStoreOptions& o, const char* v) { return SetText(o.ini, v); }},
    {"--area", true, true, [](DataStoreOptions& o, const char* v) { return SetText(o.area, v); }},
    {"--url", true, true, [](DataStoreOptions& o, const char* v) { return SetText(o.url, v); }},
    {"--user-id", true, true,
     [](DataStoreOptions& o, const char* v) { return SetLong(o.userId, v); }},
    {"--app-type", true, true,
     [](DataStoreOptions& o, const char* v) { return SetLong(o.appType, v); }},
    {"--cond", true, true,
     [](DataStoreOptions& o, const char* v) {
         o.conditions.emplace_back(CString(v));
         return true;
     }},
    {"--where", true, false,
     [](DataStoreOptions& o, const char* v) { return SetText(o.where, v); }},
    {"--page", true, false, [](DataStoreOptions& o, const char* v) { return ParseInt(v, o.page); }},
    {"--page-size", true, false,
     [](DataStoreOptions& o, const char* v) { return ParseInt(v, o.pageSize); }},
    {"--function-id", true, false,
     [](DataStoreOptions& o, const char* v) {
         o.hasFunctionId = true;
         return ParseInt(v, o.functionId);
     }},
    {"--param", true, false,
     [](DataStoreOptions& o, const char* v) {
         o.hasParam = true;
         return SetText(o.param, v);
     }},
    {"--query-type", true, false,
     [](DataStoreOptions& o, const char* v) { return ParseInt(v, o.queryType); }},
    {"--all-areas", false, false,
     [](DataStoreOptions& o, const char*) {
         o.allAreas = true;
         return true;
     }},
    {"--list", false, false,
     [](DataStoreOptions& o, const char*) {
         o.list = true;
         return true;
     }},
    {"--first-page", false, false,
     [](DataStoreOptions& o, const char*) {
         o.firstPage = true;
         return true;
     }},
};

bool Allowed(const OptionSpec& option, const char* const* extra) {
    if (option.common) return true;
    for (; *extra != nullptr; ++extra) {
        if (std::strcmp(*extra, option.name) == 0) return true;
    }
    return false;
}

const OptionSpec* FindOption(const char* name, const char* const* extra) {
    for (const OptionSpec& option : kOptions) {
        if (std::strcmp(option.name, name) == 0 && Allowed(option, extra)) return &option;
    }
    return nullptr;
}

bool Fail(const char* command, const char* usage, const char* problem, const char* argument) {
    std::fprintf(stderr, "xmk %s: %s %s\nusage: xmk %s %s\n", command, problem, argument, command,
                 usage);
    return false;
}

}  // namespace

bool ParseDataStoreOptions(const char* command, const char* usage, const char* const* extra,
                           int argc, char** argv, DataStoreOptions& options) {
    for (int i = 0; i < argc; ++i) {
        const OptionSpec* option = FindOption(argv[i], extra);
        if (option == nullptr) return Fail(command, usage, "unknown argument", argv[i]);
        const char* value = nullptr;
        if (option->takesValue) {
            if (i + 1 >= argc) return Fail(command, usage, "missing value after", argv[i]);
            value = argv[++i];
        }
        if (!option->apply(options, value)) {
            return Fail(command, usage, "bad value for", option->name);
        }
    }
    if (options.ini.IsEmpty()) return Fail(command, usage, "missing", "--ini FILE");
    if (options.area.IsEmpty()) return Fail(command, usage, "missing", "--area CODE");
    return true;
}

bool PrepareDataStore(const char* command, const DataStoreOptions& options) {
    if (!CIniManager::Instance().ReadIniFile(options.ini, options.area)) {
        std::fprintf(stderr, "xmk %s: cannot read the configuration file %s\n", command,
                     options.ini.GetString());
        return false;
    }
    CWebService::instance().SetServiceSupport(
        new ToolServiceSupport(options.userId, options.appType));
    return true;
}

void PrintReply(const CString& reply) { std::printf("%s\n", reply.GetString()); }
