// Scenarios written as data in tests/window/*_steps.cases: a run of records, the first naming it
// ("Scenario = ..."); each record does its Steps, joined by "|", then compares what the window
// shows with each other field it has.
#pragma once

#include <gtest/gtest.h>

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

// Runs every record of `scenario` on `fixture`: each of its steps through fixture.step, then
// each field but `Scenario`, `Steps` and `Entries` compared with what fixture.observe gives.
template <class Fixture>
void RunScenario(const Scenario& scenario, Fixture& fixture) {
    for (const tolvek::testing::Case& record : scenario.records) {
        SCOPED_TRACE(record.where);
        for (const std::string& each : tolvek::testing::SplitField(record.get("Steps"), '|')) {
            fixture.step(each);
        }
        for (const auto& [field, expected] : record.fields) {
            if (field != "Scenario" && field != "Steps" && field != "Entries") {
                EXPECT_EQ(fixture.observe(field), expected) << field;
            }
        }
    }
}

// The parts joined by "|", an empty one as <empty>.
std::string Joined(const std::vector<std::string>& parts);

}  // namespace tolvek::window::testing
