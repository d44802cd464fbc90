// Where the About window's links lead.
#include <gtest/gtest.h>

#include "app/window/SecondaryWindows.h"
#include "tests/window/FakeWindowSystem.h"

namespace tolvek::window::testing {
namespace {

TEST(AboutLinks, OpenTheContactPageOrANewMail) {
    FakeWindowSystem windows;
    OpenAboutLink(windows, AboutLink::ContactForm);
    OpenAboutLink(windows, AboutLink::ContactForm);
    OpenAboutLink(windows, AboutLink::WebSite);
    OpenAboutLink(windows, AboutLink::Mail);
    const std::vector<std::string> expected = {
        "http://www.tolvek.example/php/contact",
        "http://www.tolvek.example/php/contact",
        "http://www.tolvek.example/php/contact",
        "mailto:translate@tolvek.example?subject=Your program TOLVEK 1.9x &body= Your program "
        "TOLVEK 1.9x",
    };
    EXPECT_EQ(windows.openedTargets, expected);
}

}  // namespace
}  // namespace tolvek::window::testing
