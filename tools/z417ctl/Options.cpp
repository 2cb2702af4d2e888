#include "Options.h"

#include <getopt.h>

namespace z417 {
namespace {

constexpr int kFirstLongValue = 256;

ParsedOptions runGetopt(const std::vector<std::string>& args, size_t from,
                        const std::vector<std::string>& withValue,
                        const std::vector<std::string>& flags, bool stopAtWord, size_t& stop) {
    std::vector<std::string> names;
    std::vector<option> longOptions;
    for (const auto* group : {&withValue, &flags})
        for (const std::string& name : *group)
            names.push_back(name.substr(2)); // without "--"
    for (size_t i = 0; i < names.size(); ++i)
        longOptions.push_back({names[i].c_str(),
                               i < withValue.size() ? required_argument : no_argument, nullptr,
                               kFirstLongValue + static_cast<int>(i)});
    longOptions.push_back({nullptr, 0, nullptr, 0});

    // getopt_long wants argv[0] and writable strings; it may reorder the pointers.
    std::vector<std::string> words = {"z417ctl"};
    words.insert(words.end(), args.begin() + static_cast<long>(from), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    ParsedOptions parsed;
    optind = 0; // full re-initialisation, as each command parses its own words
    opterr = 0;
    const char* shortOptions = stopAtWord ? "+:" : ":";
    int c = 0;
    int index = 0;
    while ((c = getopt_long(static_cast<int>(words.size()), argv.data(), shortOptions,
                            longOptions.data(), &index)) != -1) {
        const std::string given =
            optind > 0 && optind <= static_cast<int>(words.size()) ? argv[optind - 1] : "";
        if (c == ':')
            throw UsageError{"option " + given + " needs a value"};
        if (c == '?')
            throw UsageError{"unknown option " + given};
        const size_t i = static_cast<size_t>(c - kFirstLongValue);
        parsed.options["--" + names[i]] = optarg ? optarg : "";
    }
    for (int i = optind; i < static_cast<int>(words.size()); ++i)
        parsed.positional.emplace_back(argv[static_cast<size_t>(i)]);
    stop = from + static_cast<size_t>(optind) - 1;
    return parsed;
}

} // namespace

std::optional<std::string> ParsedOptions::option(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

ParsedOptions parseOptions(const std::vector<std::string>& args, size_t from,
                           const std::vector<std::string>& withValue,
                           const std::vector<std::string>& flags) {
    std::vector<std::string> allFlags = flags;
    allFlags.push_back("--help");
    size_t stop = 0;
    return runGetopt(args, from, withValue, allFlags, false, stop);
}

size_t parseLeadingOptions(const std::vector<std::string>& args,
                           const std::vector<std::string>& withValue,
                           const std::vector<std::string>& flags, ParsedOptions& out) {
    size_t stop = 0;
    out = runGetopt(args, 0, withValue, flags, true, stop);
    return stop;
}

} // namespace z417
