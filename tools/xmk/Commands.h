// The subcommands of the xmk tool. Each takes the arguments after its name and returns the
// process exit code: 0 success, 1 failure, 2 a usage error. Each explains itself on --help.
#pragma once

int RunJsonCommand(int argc, char** argv);
int RunConfigCommand(int argc, char** argv);
int RunCallCommand(int argc, char** argv);
int RunWriteCommand(int argc, char** argv);
int RunCountCommand(int argc, char** argv);
int RunProjectsCommand(int argc, char** argv);
int RunCorpsCommand(int argc, char** argv);
int RunBidsCommand(int argc, char** argv);
int RunCheckCommand(int argc, char** argv);
