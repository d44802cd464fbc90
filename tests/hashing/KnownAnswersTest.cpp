// The known-answer check over entries whose routes give a fixed text: a wrong text or a failure
// on either route fails the entry, and entries without a known answer are not checked.
#include <gtest/gtest.h>

#include "app/hashing/KnownAnswers.h"

namespace tolvek::hashing {
namespace {

class FixedDigester final : public Digester {
public:
    explicit FixedDigester(DigestOutcome outcome) : m_outcome(std::move(outcome)) {}
    void update(std::span<const std::uint8_t>) override {}
    DigestOutcome finish() override { return m_outcome; }

private:
    DigestOutcome m_outcome;
};

class FixedProvider final : public Provider {
public:
    FixedProvider(DigestOutcome outcome, std::optional<KnownAnswer> answer)
        : m_outcome(std::move(outcome)), m_answer(answer) {}
    std::unique_ptr<Digester> start() const override {
        return std::make_unique<FixedDigester>(m_outcome);
    }
    std::size_t digestBytes() const override { return 2; }
    std::optional<KnownAnswer> knownAnswer() const override { return m_answer; }

private:
    DigestOutcome m_outcome;
    std::optional<KnownAnswer> m_answer;
};

constexpr KnownAnswer kAnswer{"abc", "0123"};

TEST(KnownAnswers, EitherRouteDecides) {
    const FixedProvider right({true, {0x01, 0x23}, {}}, kAnswer);
    const FixedProvider wrong({true, {0x01, 0x24}, {}}, kAnswer);
    const FixedProvider failing({false, {}, "Could not read file"}, kAnswer);
    const FixedProvider unchecked({true, {0x99, 0x99}, {}}, std::nullopt);
    const AlgorithmEntry entries[] = {
        {{}, "right", "", "", right, right},
        {{}, "wrongtext", "", "", right, wrong},
        {{}, "failed", "", "", failing, failing},
        {{}, "wrongfile", "", "", wrong, right},
        {{}, "unchecked", "", "", unchecked, unchecked},
    };
    struct Expected {
        std::string_view id;
        bool passed;
        std::string_view wrongText;
    };
    const Expected expected[] = {{"right", true, ""},
                                 {"wrongtext", false, "0124"},
                                 {"failed", false, "Could not read file"},
                                 {"wrongfile", false, "0124"}};

    const std::vector<KnownAnswerCheck> checks = CheckKnownAnswers(entries);
    ASSERT_EQ(checks.size(), std::size(expected));
    for (std::size_t index = 0; index < checks.size(); ++index) {
        EXPECT_EQ(checks[index].entry->id, expected[index].id);
        EXPECT_EQ(checks[index].passed, expected[index].passed) << expected[index].id;
        EXPECT_EQ(checks[index].wrongText, expected[index].wrongText) << expected[index].id;
    }
}

}  // namespace
}  // namespace tolvek::hashing
