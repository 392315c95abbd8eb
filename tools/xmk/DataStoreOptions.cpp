#include "DataStoreOptions.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Commands.h"
#include "config/CIniManager.h"
#include "platform/MessageBox.h"
#include "service/CServiceSupport.h"
#include "service/CWebService.h"
#include "wirekit/ExchangeReport.h"
#include "wirekit/WireSettings.h"

namespace {

// The identity the tool sends; the URLs come from the configuration as usual.
class ToolServiceSupport : public CServiceSupport {
  public:
    ToolServiceSupport(long userId, long appType, long appId)
        : userId_(userId), appType_(appType), appId_(appId) {}

    long GetAppId() override { return appId_; }
    long GetUserDogId() override { return userId_; }
    long GetAppType() const override { return appType_; }

  private:
    long userId_;
    long appType_;
    long appId_;
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

bool SetFlag(bool& field) {
    field = true;
    return true;
}

// The tool splices these texts into a request as the members of an object, which takes the
// braces around them: anything else would lose its first and last characters.
bool SetObject(CString& field, const char* value) {
    CString text(value);
    text.Trim();
    if (text.GetLength() < 2 || text.GetAt(0) != '{' || text.GetAt(text.GetLength() - 1) != '}') {
        return false;
    }
    field = text;
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
    {"--app-id", true, false,
     [](DataStoreOptions& o, const char* v) { return SetLong(o.appId, v); }},
    {"--cond", true, false,
     [](DataStoreOptions& o, const char* v) {
         CString condition;
         if (!SetObject(condition, v)) return false;
         o.conditions.emplace_back(condition);
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
     [](DataStoreOptions& o, const char*) { return SetFlag(o.allAreas); }},
    {"--list", false, false, [](DataStoreOptions& o, const char*) { return SetFlag(o.list); }},
    {"--first-page", false, false,
     [](DataStoreOptions& o, const char*) { return SetFlag(o.firstPage); }},
    {"--table", true, false,
     [](DataStoreOptions& o, const char* v) { return SetText(o.table, v); }},
    {"--values", true, false,
     [](DataStoreOptions& o, const char* v) { return SetObject(o.values, v); }},
    {"--keys", true, false,
     [](DataStoreOptions& o, const char* v) { return SetObject(o.keys, v); }},
    {"--extra", true, false,
     [](DataStoreOptions& o, const char* v) { return SetObject(o.extra, v); }},
    {"--id", true, false,
     [](DataStoreOptions& o, const char* v) {
         o.hasId = true;
         return SetText(o.id, v);
     }},
    {"--url-cplus", true, false,
     [](DataStoreOptions& o, const char* v) { return SetText(o.urlForCPlus, v); }},
    {"--emp-id", true, false,
     [](DataStoreOptions& o, const char* v) {
         o.empIdText = v;
         return SetLong(o.empId, v);
     }},
    {"--corp", true, false, [](DataStoreOptions& o, const char* v) { return SetLong(o.corp, v); }},
    {"--role", true, false, [](DataStoreOptions& o, const char* v) { return SetLong(o.role, v); }},
    {"--area-code", true, false,
     [](DataStoreOptions& o, const char* v) {
         o.hasAreaCode = true;
         return SetText(o.areaCode, v);
     }},
    {"--method", true, false,
     [](DataStoreOptions& o, const char* v) { return SetText(o.method, v); }},
    {"--arg", true, false,
     [](DataStoreOptions& o, const char* v) { return SetText(o.argName, v); }},
    {"--bool", false, false, [](DataStoreOptions& o, const char*) { return SetFlag(o.judge); }},
};

// The transport options, named as curl names them, and the [Transport] keys whose reading
// they share.
struct TransportOption {
    const char* name;
    const char* key;
};

constexpr TransportOption kTransportOptions[] = {
    {"--cacert", "CAFile"},
    {"--capath", "CAPath"},
    {"--cert", "ClientCert"},
    {"--key", "ClientKey"},
    {"--proxy", "Proxy"},
    {"--noproxy", "NoProxy"},
    {"--connect-timeout", "ConnectTimeout"},
    {"--max-time", "Timeout"},
};

constexpr char kTransportUsage[] =
    "  transport options, as curl names them (they win over the file's [Transport]):\n"
    "  --cacert FILE  --capath DIR  --cert FILE  --key FILE  --proxy URL  --noproxy HOSTS\n"
    "  --connect-timeout SECONDS  --max-time SECONDS\n";

// The [Transport] key of a transport option, or null.
const char* TransportKey(const char* name) {
    for (const TransportOption& option : kTransportOptions) {
        if (std::strcmp(option.name, name) == 0) return option.key;
    }
    return nullptr;
}

// Relative paths stay relative to the working directory, as curl takes them.
void ApplyTransportOptions(const DataStoreOptions& options) {
    if (options.transport.empty()) return;
    WireSettings settings = GetWireSettings();
    for (const auto& [key, value] : options.transport) {
        CIniManager::SetTransportSetting(settings, key, value, CString());
    }
    SetWireSettings(settings);
}

// One line, whatever the detail holds.
void PrintCause(const char* command, const char* kind, const CString& url, CString detail) {
    detail.Replace('\n', ' ');
    detail.Replace('\r', ' ');
    std::fprintf(stderr, "xmk %s: %s %s%s%s\n", command, kind, url.GetString(),
                 detail.IsEmpty() ? "" : ": ", detail.GetString());
}

bool Listed(const char* name, const char* const* list) {
    for (; *list != nullptr; ++list) {
        if (std::strcmp(*list, name) == 0) return true;
    }
    return false;
}

const OptionSpec* FindOption(const char* name, const char* const* extra) {
    for (const OptionSpec& option : kOptions) {
        if (std::strcmp(option.name, name) == 0 && (option.common || Listed(name, extra))) {
            return &option;
        }
    }
    return nullptr;
}

bool IsHelp(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

// 0 when the options are complete, -1 after --help printed the usage, 2 on a usage error.
int ParseOptions(const DataStoreCommand& command, int argc, char** argv,
                 DataStoreOptions& options) {
    for (int i = 0; i < argc; ++i) {
        if (IsHelp(argv[i])) {
            PrintUsage(command);
            return -1;
        }
    }
    std::vector<std::string> given;
    bool hasText = false;
    for (int i = 0; i < argc; ++i) {
        if (command.takesText && std::strncmp(argv[i], "--", 2) != 0) {
            if (hasText) return UsageError(command, "one text only; unexpected", argv[i]);
            options.text = argv[i];
            hasText = true;
            continue;
        }
        if (const char* key = TransportKey(argv[i])) {
            if (i + 1 >= argc) return UsageError(command, "missing value after", argv[i]);
            WireSettings check;
            if (!CIniManager::SetTransportSetting(check, key, argv[i + 1], CString())) {
                return UsageError(command, "bad value for", argv[i]);
            }
            options.transport.emplace_back(key, argv[++i]);
            continue;
        }
        const OptionSpec* option = FindOption(argv[i], command.extra);
        if (option == nullptr) return UsageError(command, "unknown argument", argv[i]);
        const char* value = nullptr;
        if (option->takesValue) {
            if (i + 1 >= argc) return UsageError(command, "missing value after", argv[i]);
            value = argv[++i];
        }
        if (!option->apply(options, value)) {
            return UsageError(command, "bad value for", option->name);
        }
        given.emplace_back(option->name);
    }
    if (options.ini.IsEmpty()) return UsageError(command, "missing", "--ini FILE");
    if (options.area.IsEmpty()) return UsageError(command, "missing", "--area CODE");
    for (const char* const* name = command.required; *name != nullptr; ++name) {
        bool found = false;
        for (const std::string& option : given) found = found || option == *name;
        if (!found) return UsageError(command, "missing", *name);
    }
    if (command.takesText && !hasText) return UsageError(command, "missing", "the text to send");
    const char* problem = command.check != nullptr ? command.check(options) : nullptr;
    return problem != nullptr ? UsageError(command, problem, "") : 0;
}

}  // namespace

int RunDataStoreCommand(const DataStoreCommand& command, int argc, char** argv,
                        const std::function<int(const DataStoreOptions&)>& body) {
    DataStoreOptions options;
    const int parsed = ParseOptions(command, argc, argv, options);
    if (parsed < 0) return kExitSuccess;
    if (parsed > 0) return parsed;
    CIniManager& configuration = CIniManager::Instance();
    if (!configuration.ReadIniFile(options.ini, options.area)) {
        std::fprintf(stderr, "xmk %s: cannot read the configuration file %s\n", command.name,
                     options.ini.GetString());
        return kExitConfiguration;
    }
    if (options.url.IsEmpty() && configuration.GetBzkWebService().IsEmpty()) {
        std::fprintf(stderr, "xmk %s: %s gives area \"%s\" no URL2, and no --url is given\n",
                     command.name, options.ini.GetString(), options.area.GetString());
        return kExitConfiguration;
    }
    ApplyTransportOptions(options);
    CWebService::instance().SetServiceSupport(
        new ToolServiceSupport(options.userId, options.appType, options.appId));
    SetMessageBoxPresenter([](const CString& text, UINT) {
        if (LastExchange().kind == FailureKind::none) {
            std::fprintf(stderr, "message: %s\n", text.GetString());
        }
        return IDOK;
    });
    return body(options);
}

int PrintUsage(const DataStoreCommand& command) {
    std::printf("usage: xmk %s %s\n%s", command.name, command.usage, kTransportUsage);
    return kExitSuccess;
}

int UsageError(const DataStoreCommand& command, const char* problem, const char* argument) {
    // The synopsis only: the lines that explain the options start with two blanks, those
    // that continue the synopsis with more.
    const char* usage = command.usage;
    const char* end = usage + std::strlen(usage);
    for (const char* line = std::strchr(usage, '\n'); line != nullptr;
         line = std::strchr(line + 1, '\n')) {
        if (std::strncmp(line, "\n  ", 3) == 0 && line[3] != ' ') {
            end = line;
            break;
        }
    }
    const int synopsis = static_cast<int>(end - usage);
    std::fprintf(stderr, "xmk %s: %s%s%s\nusage: xmk %s %.*s\n(xmk %s --help explains it)\n",
                 command.name, problem, argument[0] != '\0' ? " " : "", argument, command.name,
                 synopsis, command.usage, command.name);
    return kExitUsage;
}

int ExchangeFailure(const char* command) {
    const ExchangeReport report = LastExchange();
    if (report.kind == FailureKind::none) return kExitSuccess;
    PrintCause(command, FailureKindName(report.kind), report.url, report.detail);
    return report.kind == FailureKind::soap_fault ? kExitRefused : kExitNoExchange;
}

int Refused(const char* command, const char* what) {
    PrintCause(command, "refused", LastExchange().url, what);
    return kExitRefused;
}

void PrintReply(const CString& reply) { std::printf("%s\n", reply.GetString()); }
