// The subcommands of the xmk tool. Each takes the arguments after its name and returns the
// process exit code, one of those below. Each explains itself on --help.
#pragma once

// The exit codes, the same on every command.
constexpr int kExitSuccess = 0;
constexpr int kExitRefused = 1;  // the back-end answered but refused: a SOAP fault, or a
                                 // reply judged a failure
constexpr int kExitUsage = 2;
constexpr int kExitNoExchange = 3;     // connection, TLS, time-out, HTTP status, bad reply...
constexpr int kExitConfiguration = 4;  // the configuration file is unusable

int RunJsonCommand(int argc, char** argv);
int RunConfigCommand(int argc, char** argv);
int RunCallCommand(int argc, char** argv);
int RunWriteCommand(int argc, char** argv);
int RunCountCommand(int argc, char** argv);
int RunProjectsCommand(int argc, char** argv);
int RunCorpsCommand(int argc, char** argv);
int RunBidsCommand(int argc, char** argv);
int RunCheckCommand(int argc, char** argv);
