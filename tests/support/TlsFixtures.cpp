#include "support/TlsFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr char kConfig[] =
    "[req]\ndistinguished_name = dn\n[dn]\n"
    "[ca]\nbasicConstraints = critical,CA:TRUE\nkeyUsage = critical,keyCertSign\n"
    "[server]\nsubjectAltName = IP:127.0.0.1\n"
    "[wrong]\nsubjectAltName = DNS:wrong.example\n"
    "[client]\nextendedKeyUsage = clientAuth\n";

// Runs `command` in `dir`; its output goes to a log that a failure shows.
void Run(const TempDir& dir, const std::string& command) {
    const std::string log = dir.Path() + "/openssl.log";
    if (std::system(("cd " + dir.Path() + " && (" + command + ") >" + log + " 2>&1").c_str()) !=
        0) {
        ADD_FAILURE() << command << "\n" << ReadFile(log);
    }
}

}  // namespace

LoopbackSoapServer::Tls TlsFiles::ServerTls(bool requireClientCert) const {
    return {serverCert, serverKey, requireClientCert ? caFile : std::string()};
}

TlsFiles MakeTlsFiles(const TempDir& dir) {
    const std::string newKey =
        "openssl req -config x.cnf -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes ";
    dir.WriteFile("x.cnf", kConfig);
    Run(dir, newKey + "-x509 -days 2 -subj /CN=ca -extensions ca -keyout ca.key -out ca.pem");
    int serial = 0;
    for (const char* name : {"server", "wrong", "client"}) {
        Run(dir, newKey + "-subj /CN=" + name + " -keyout " + name + ".key | " +
                     "openssl x509 -req -CA ca.pem -CAkey ca.key -days 2 -set_serial " +
                     std::to_string(++serial) + " -extfile x.cnf -extensions " + name + " -out " +
                     name + ".pem");
    }
    Run(dir, "mkdir cadir && cp ca.pem cadir/ && openssl rehash cadir");
    const std::string at = dir.Path() + "/";
    dir.WriteFile("bundle.pem", ReadFile(at + "client.pem") + ReadFile(at + "client.key"));
    return {at + "ca.pem",     at + "cadir",      at + "server.pem",
            at + "server.key", at + "wrong.pem",  at + "wrong.key",
            at + "client.pem", at + "client.key", at + "bundle.pem"};
}
