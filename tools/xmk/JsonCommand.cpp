// xmk json: prints the top-level items of a JSON document as index, name and value, or the
// value that FindKeyValueRecursion finds, after descending into children with --child.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "Commands.h"
#include "json/CJosn.h"

namespace {

// With no problem the usage was asked for: it goes to stdout and the exit code is 0.
int JsonUsage(const char* problem) {
    if (problem != nullptr) std::fprintf(stderr, "xmk json: %s\n", problem);
    std::fprintf(problem != nullptr ? stderr : stdout,
                 "usage: xmk json [--child N]... [--find KEY] [TEXT]\n"
                 "  Prints each top-level item of the document TEXT (standard input when\n"
                 "  absent, its trailing line ends removed) as index<TAB>name<TAB>value.\n"
                 "  --child N   descend into child N (0-based) first; may be repeated\n"
                 "  --find KEY  print the value of the first item named KEY, searching\n"
                 "              array elements depth first (empty when not found)\n");
    return problem != nullptr ? kExitUsage : kExitSuccess;
}

bool ParseIndex(const char* text, unsigned int& index) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFul) return false;
    index = static_cast<unsigned int>(value);
    return true;
}

std::string ReadStandardInput() {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

int RunJsonCommand(int argc, char** argv) {
    std::vector<unsigned int> path;
    const char* key = nullptr;
    const char* text = nullptr;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            return JsonUsage(nullptr);
        }
        if (std::strcmp(arg, "--child") == 0) {
            unsigned int index = 0;
            if (i + 1 >= argc) return JsonUsage("--child needs an index");
            if (!ParseIndex(argv[++i], index)) {
                return JsonUsage("--child needs a non-negative whole number");
            }
            path.push_back(index);
        } else if (std::strcmp(arg, "--find") == 0) {
            if (i + 1 >= argc) return JsonUsage("--find needs a key");
            if (key != nullptr) return JsonUsage("--find may be given once");
            key = argv[++i];
        } else if (std::strncmp(arg, "--", 2) == 0) {
            return JsonUsage((std::string("unknown option ") + arg).c_str());
        } else {
            if (text != nullptr) return JsonUsage("give one document text");
            text = arg;
        }
    }

    CJosn doc(text != nullptr ? CString(text) : CString(ReadStandardInput()));
    for (unsigned int index : path) {
        const unsigned int count = doc.GetChildCount();
        // An index the document does not have is a mistake in the arguments, like a bad one.
        if (index >= count) {
            std::fprintf(stderr, "xmk json: no child %u (the document has %u)\n", index, count);
            return kExitUsage;
        }
        doc = doc.GetChild(index);
    }

    if (key != nullptr) {
        const CString found = doc.FindKeyValueRecursion(key);
        std::fwrite(found.GetString(), 1, static_cast<size_t>(found.GetLength()), stdout);
        std::fputc('\n', stdout);
        return kExitSuccess;
    }
    for (unsigned int i = 0; i < doc.GetChildCount(); ++i) {
        const JosnChildValue* child = doc.GetChildStructPtr(i);
        std::printf("%u\t", i);
        std::fwrite(child->name.GetString(), 1, static_cast<size_t>(child->name.GetLength()),
                    stdout);
        std::fputc('\t', stdout);
        std::fwrite(child->value.GetString(), 1, static_cast<size_t>(child->value.GetLength()),
                    stdout);
        std::fputc('\n', stdout);
    }
    return kExitSuccess;
}
