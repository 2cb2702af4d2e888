// Command-line options of z417ctl, parsed with getopt_long.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace z417 {

// A command line that cannot be run; the dispatcher prints it with the usage and exits 2.
struct UsageError {
    std::string what;
};

struct ParsedOptions {
    std::map<std::string, std::string> options; // "--name" -> value ("" for a flag)
    std::vector<std::string> positional;        // in the order given
    std::optional<std::string> option(const std::string& name) const;
    bool has(const std::string& name) const { return options.count(name) != 0; }
};

// Parses args[from..] of one command: withValue options take a value ("--out F" or
// "--out=F"), flags none; options and other words may be mixed; "--" ends the options.
// Every command knows --help. Throws UsageError.
ParsedOptions parseOptions(const std::vector<std::string>& args, size_t from,
                           const std::vector<std::string>& withValue,
                           const std::vector<std::string>& flags);

// Options before the command: parsing stops at the first word that is not an option.
// Returns the index of that word.
size_t parseLeadingOptions(const std::vector<std::string>& args,
                           const std::vector<std::string>& withValue,
                           const std::vector<std::string>& flags, ParsedOptions& out);

} // namespace z417
