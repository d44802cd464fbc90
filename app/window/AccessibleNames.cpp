#include "app/window/AccessibleNames.h"

#include <array>

#include "app/hashing/AsciiText.h"
#include "app/window/Product.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {

// An accessible text: a text number and what its "%1" stands for; 0 for none.
struct Text {
    int number = 0;
    std::string_view fill = {};
};

struct NamedControl {
    Control control;
    Text name;  // none: the caption, or the label above the field, names the control
    Text description;
};

// The shortcuts' descriptions, on each control that stands for what the shortcut does.
constexpr Text kOpensListWindow{kOpenListWindowDescriptionText, kOpenListWindowShortcut};
constexpr Text kPastesAndCompares{kPasteAndCompareDescriptionText, kPasteAndCompareShortcut};

// Only the controls that a caption or label does not name well get a name: the lists show their
// value, and the clipboard buttons' and (in Russian) the About button's captions are symbols.
// clang-format off
constexpr std::array<NamedControl, 10> kNamedControls = {{
    {Control::MainWindow,    {},                                   kOpensListWindow},
    {Control::AlgorithmList, {kAlgorithmListNameText},             {}},
    {Control::PathField,     {kPathFieldNameText},                 {}},
    {Control::CopyButton,    {kCopyButtonNameText},                {}},
    {Control::DigestField,   {},                                   {kDigestFieldDescriptionText}},
    {Control::CompareField,  {},                                   kPastesAndCompares},
    {Control::CompareButton, {},                                   kPastesAndCompares},
    {Control::PasteButton,   {kPasteButtonNameText},               kPastesAndCompares},
    {Control::AboutButton,   {kAboutButtonNameText, kProductName}, {}},
    {Control::LanguageList,  {kLanguageListNameText},              {}},
}};
// clang-format on

}  // namespace

AccessibleNames MainWindowAccessibleNames(const std::function<std::string(int)>& loadText) {
    const auto text = [&loadText](Text wanted) {
        return wanted.number == 0
                   ? std::string{}
                   : hashing::FillPlaceholders(loadText(wanted.number), {wanted.fill});
    };
    AccessibleNames names;
    for (const NamedControl& named : kNamedControls) {
        names.controls.push_back({named.control, {text(named.name), text(named.description)}});
    }
    names.progressBar = {text({kProgressBarNameText}), {}};
    names.cancelButton = {{}, text({kShortcutDescriptionText, kCancelHashShortcut})};
    names.stringField = {text({kStringFieldNameText}), {}};
    return names;
}

std::string Announcement(const ProgressDisplay& display) {
    if (display.state.empty()) {
        return display.subject;
    }
    return display.subject + " \u2013 " + display.state;
}

}  // namespace tolvek::window
