#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace z417 {

// Exit codes: 0 success, 1 a failure the command reports on stderr, 2 a usage error.
int runCli(const std::vector<std::string>& args, FILE* out, FILE* err);

} // namespace z417
