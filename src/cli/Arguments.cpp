#include "cli/Arguments.h"

#include <algorithm>

#include "cli/CliSupport.h"

namespace velmaro::cli {

std::optional<std::string> Arguments::Value(std::string_view name) const {
    const auto it = values.find(name);
    if (it == values.end()) {
        return std::nullopt;
    }
    return it->second;
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<CliOption>& options) {
    Arguments parsed;
    bool onlyOperands = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyOperands || arg == "-" || !arg.starts_with("-")) {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyOperands = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            throw UsageError("opção desconhecida: " + arg);
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const CliOption& o) { return o.name == name; });
        if (option == options.end()) {
            throw UsageError("opção desconhecida: --" + name);
        }
        if (parsed.values.contains(name) || parsed.flags.contains(name)) {
            throw UsageError("a opção --" + name + " foi dada mais de uma vez");
        }
        if (!option->takesValue) {
            if (value) {
                throw UsageError("a opção --" + name + " não leva valor");
            }
            parsed.flags.insert(name);
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw UsageError("falta o valor da opção --" + name);
            }
            value = args[++i];
        }
        parsed.values.emplace(name, *value);
    }
    return parsed;
}

int ChoiceValue(const Arguments& arguments, std::string_view option, int low, int high) {
    const std::string text = arguments.Value(option).value_or("");
    const bool digits =
        !text.empty() && text.size() <= 2 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int value = digits ? std::stoi(text) : 0;
    if (!digits || value < low || value > high) {
        throw UsageError("--" + std::string(option) + " deve ser um número de " +
                         std::to_string(low) + " a " + std::to_string(high) + " (recebido \"" +
                         text + "\")");
    }
    return value;
}

}  // namespace velmaro::cli
