// Certificates for HTTPS tests, made at run time with the openssl command: a private CA and
// leaf certificates it signs, P-256 keys, valid for two days.
#pragma once

#include <string>

#include "support/LoopbackSoapServer.h"
#include "support/TempDir.h"

struct TlsFiles {
    std::string caFile;  // the CA certificate
    std::string caPath;  // a folder holding only the CA certificate, under its hashed name
    std::string serverCert, serverKey;        // for the address 127.0.0.1
    std::string wrongHostCert, wrongHostKey;  // for the name wrong.example only
    std::string clientCert, clientKey;        // a client identity
    std::string clientBundle;                 // the client certificate and its key in one file

    // A server for 127.0.0.1 that, when asked, requires a client certificate from the CA.
    LoopbackSoapServer::Tls ServerTls(bool requireClientCert = false) const;
};

// Makes every file inside `dir`; a failing openssl command fails the test.
TlsFiles MakeTlsFiles(const TempDir& dir);
