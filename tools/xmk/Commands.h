// The subcommands of the xmk tool. Each takes the arguments after its name and returns the
// process exit code.
#pragma once

int RunJsonCommand(int argc, char** argv);
