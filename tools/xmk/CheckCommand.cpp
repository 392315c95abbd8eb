// xmk check: puts the back-end's project-leader checks to it for one employee and prints
// what they answer.
#include <cstdio>
#include <vector>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "config/CIniManager.h"
#include "service/CWebService.h"

namespace {

constexpr const char* kExtra[] = {"--url-cplus", "--emp-id",    "--corp",
                                  "--role",      "--area-code", nullptr};
constexpr const char* kRequired[] = {"--emp-id", nullptr};

constexpr DataStoreCommand kCheck = {
    "check",
    "--ini FILE --area CODE [--url URL] [--url-cplus URL] --emp-id ID\n"
    "       [--corp N] [--role N] [--area-code CODE]\n"
    "  Runs CheckXMFZR (its second exchange goes to --url-cplus, by default the same URL)\n"
    "  and GetXMFZRYZProjects for the employee ID, and prints their results and the\n"
    "  project ids listed. --url defaults to the configured project-library URL,\n"
    "  --area-code to the area, --corp and --role to 0.",
    kExtra, kRequired};

int Check(const DataStoreOptions& options) {
    const CString url =
        options.url.IsEmpty() ? CIniManager::Instance().GetBzkWebService() : options.url;
    const CString urlForCPlus = options.urlForCPlus.IsEmpty() ? url : options.urlForCPlus;
    const CString areaCode = options.hasAreaCode ? options.areaCode : options.area;
    const CWebService& client = CWebService::instance();

    // False is an answer too; only the exchanges tell a failure.
    const bool leader = client.CheckXMFZR(url, urlForCPlus, options.empId);
    if (const int failure = ExchangeFailure(kCheck.name)) return failure;
    std::vector<long> projects;
    const bool listed = client.GetXMFZRYZProjects(url, options.empIdText, options.corp,
                                                  options.role, areaCode, projects);
    if (const int failure = ExchangeFailure(kCheck.name)) return failure;

    std::printf("CheckXMFZR: %s\n", leader ? "true" : "false");
    std::printf("GetXMFZRYZProjects: %s\nprojects: ", listed ? "true" : "false");
    for (size_t i = 0; i < projects.size(); ++i) {
        std::printf(i == 0 ? "%ld" : ",%ld", projects[i]);
    }
    std::printf("\n");
    return kExitSuccess;
}

}  // namespace

int RunCheckCommand(int argc, char** argv) {
    return RunDataStoreCommand(kCheck, argc, argv, Check);
}
