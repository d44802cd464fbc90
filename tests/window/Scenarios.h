// Scenarios written as data in tests/window/*_steps.cases: a run of records, the first naming it
// ("Scenario = ..."); each record does its Steps, joined by "|", then compares what the window
// shows with each other field it has.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/VectorFile.h"

namespace tolvek::window::testing {

struct Scenario {
    std::vector<tolvek::testing::Case> records;
};

void PrintTo(const Scenario& scenario, std::ostream* out);

// The scenarios of tests/window/`file`.
std::vector<Scenario> ScenariosOf(const std::string& file);

// A GoogleTest name from the scenario's first line ("hash_steps_cases_12").
std::string ScenarioName(const ::testing::TestParamInfo<Scenario>& scenario);

// Runs every record of `scenario`: each step, then each field but `Scenario`, `Steps` and
// `Entries` compared with what `observe` gives.
void RunScenario(const Scenario& scenario, const std::function<void(const std::string&)>& step,
                 const std::function<std::string(const std::string&)>& observe);

// The parts joined by "|", an empty one as <empty>.
std::string Joined(const std::vector<std::string>& parts);

}  // namespace tolvek::window::testing
