#pragma once

// The options and operands of one command: "--name VALUE" or "--name=VALUE" for an option
// that takes a value, "--name" for a flag, "--help" (or "-h") anywhere, and "--" before
// operands that start with "-".

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::cli {

struct CliOption {
    std::string_view name;  // without the leading "--"
    bool takesValue = false;
};

struct Arguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> values;
    std::set<std::string, std::less<>> flags;
    bool help = false;

    bool Has(std::string_view flag) const { return flags.contains(flag); }
    std::optional<std::string> Value(std::string_view name) const;
};

// Throws UsageError for an unknown option, an option given twice, or a value missing.
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<CliOption>& options);

// The whole number of an option that must be one of `low` to `high`; UsageError otherwise.
int ChoiceValue(const Arguments& arguments, std::string_view option, int low, int high);

}  // namespace velmaro::cli
