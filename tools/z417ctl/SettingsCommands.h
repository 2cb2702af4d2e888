// set, get, export and import: editing the settings files from a shell.
#pragma once

#include "DeviceCommands.h"
#include "Options.h"

#include <cstdio>

namespace z417 {

int cmdSet(const GlobalOptions& global, const ParsedOptions& p, FILE* out, FILE* err);
int cmdGet(const ParsedOptions& p, FILE* out, FILE* err);
int cmdExport(const ParsedOptions& p, FILE* out, FILE* err);
int cmdImport(const ParsedOptions& p, FILE* err);

} // namespace z417
