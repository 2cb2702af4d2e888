#include "Options.h"

#include <cstring>
#include <getopt.h>

namespace z417 {
namespace {

constexpr int kFirstLongValue = 256;

// A word such as "-400" is a value (a negative number), never a cluster of short options.
bool isNegativeNumber(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && word[1] >= '0' && word[1] <= '9';
}

// getopt_long takes every word that starts with '-' for options: negative numbers go in as
// placeholders that cannot be options and come out again as they were given.
class NumberShield {
public:
    std::string hide(const std::string& word) {
        // A word that happens to look like a placeholder is hidden too, so that every
        // placeholder is one of ours.
        if (!isNegativeNumber(word) && word.rfind(kMark, 0) != 0)
            return word;
        hidden_.push_back(word);
        return std::string(kMark) + std::to_string(hidden_.size() - 1);
    }
    std::string reveal(const std::string& word) const {
        if (word.rfind(kMark, 0) != 0)
            return word;
        return hidden_.at(std::stoul(word.substr(std::strlen(kMark))));
    }

private:
    static constexpr const char* kMark = "\x1f#"; // no word a person types starts so
    std::vector<std::string> hidden_;
};

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
    NumberShield shield;
    std::vector<std::string> words = {"z417ctl"};
    for (size_t i = from; i < args.size(); ++i)
        words.push_back(shield.hide(args[i]));
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
        // A short option inside a cluster ("-x5") leaves optind on the word before it.
        const std::string given = c == '?' && optopt > 0 && optopt < kFirstLongValue
                                      ? std::string("-") + char(optopt)
                                  : optind > 0 && optind <= static_cast<int>(words.size())
                                      ? shield.reveal(argv[optind - 1])
                                      : "";
        if (c == ':')
            throw UsageError{"option " + given + " needs a value"};
        if (c == '?')
            throw UsageError{"unknown option " + given};
        const size_t i = static_cast<size_t>(c - kFirstLongValue);
        parsed.options["--" + names[i]] = optarg ? shield.reveal(optarg) : "";
    }
    for (int i = optind; i < static_cast<int>(words.size()); ++i)
        parsed.positional.push_back(shield.reveal(argv[static_cast<size_t>(i)]));
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
