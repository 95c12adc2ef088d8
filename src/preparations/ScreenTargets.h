#pragma once

// The screens the preparation register opens, as the application hands them over: the
// form and what to set on it before it is shown. A target without a form answers with
// a notice that the screen is not available yet.

#include <functional>
#include <optional>
#include <string>

#include "platform/Form.h"

namespace velmaro {

struct ScreenTarget {
    Form* form = nullptr;
    // Sets the table name, the preparation name and the start-pending flag (and whatever
    // else the screen takes from the register) just before the screen is shown.
    std::function<void(const std::string& table, const std::string& preparation)> prepare;
};

// The reference value chosen on the reference values screen: the texts of the shown
// record's fields 1 (food), 2 (reference value), 3 (unit) and 6 (how the household
// measure is written on the label), as that screen shows them (Windows-1252).
struct ReferenceValueChoice {
    std::string food;
    std::string value;
    std::string unit;
    std::string presentation;
    std::string measure = {};  // field 4: the household measure the list suggests
    std::string table = {};    // field 7: the reference table (food group)
    // A portion not taken from the list (food empty): how it was obtained.
    std::string origin = {};
};

struct ReferenceValueTarget {
    Form* form = nullptr;
    // Sets the screen's start-pending flag before it is shown, with the preparation's energy
    // per gram (or ml), when it has one (for a portion set from a group's mean energy).
    std::function<void(std::optional<long double> kcalPerGram)> prepare;
    // After the screen closed with `modalResult`: the choice when it was closed with
    // "Seleciona", nothing when it was cancelled.
    std::function<std::optional<ReferenceValueChoice>(int modalResult)> chosen;
};

}  // namespace velmaro
