#include "tests/window/Scenarios.h"

#include <algorithm>

namespace tolvek::window::testing {

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.records.front().where;
}

std::vector<Scenario> ScenariosOf(const std::string& file) {
    std::vector<Scenario> scenarios;
    for (const tolvek::testing::Case& record : tolvek::testing::ReadCaseFile("window/" + file)) {
        if (record.has("Scenario") || scenarios.empty()) {
            scenarios.emplace_back();
        }
        scenarios.back().records.push_back(record);
    }
    return scenarios;
}

std::string ScenarioName(const ::testing::TestParamInfo<Scenario>& scenario) {
    std::string where = scenario.param.records.front().where;
    std::ranges::replace_if(
        where, [](unsigned char c) { return !std::isalnum(c); }, '_');
    return where;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string all;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        all.append(part == 0 ? "" : "|").append(parts[part].empty() ? "<empty>" : parts[part]);
    }
    return all;
}

}  // namespace tolvek::window::testing
