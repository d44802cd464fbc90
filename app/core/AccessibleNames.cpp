#include "app/core/AccessibleNames.h"

#include <array>

#include "app/core/Product.h"
#include "app/digest/AsciiText.h"

namespace tolvek::app {

namespace {

constexpr int kAlgorithmListName = 72;
constexpr int kLanguageListName = 73;
constexpr int kPathFieldName = 74;
constexpr int kCopyButtonName = 75;
constexpr int kPasteButtonName = 76;
constexpr int kAboutButtonName = 77;
constexpr int kDigestFieldDescription = 78;
constexpr int kPasteAndCompareDescription = 79;
constexpr int kOpenListWindowDescription = 80;
constexpr int kShortcutDescription = 81;
constexpr int kProgressBarName = 82;
constexpr int kStringFieldName = 84;

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

// Only the controls that a caption or label does not name well get a name: the lists show their
// value, and the clipboard buttons' and (in Russian) the About button's captions are symbols.
// clang-format off
constexpr std::array<NamedControl, 10> kNamedControls = {{
    {Control::MainWindow,    {},                       {kOpenListWindowDescription, kOpenListWindowShortcut}},
    {Control::AlgorithmList, {kAlgorithmListName},     {}},
    {Control::PathField,     {kPathFieldName},         {}},
    {Control::CopyButton,    {kCopyButtonName},        {}},
    {Control::DigestField,   {},                       {kDigestFieldDescription}},
    {Control::CompareField,  {},                       {kPasteAndCompareDescription, kPasteAndCompareShortcut}},
    {Control::CompareButton, {},                       {kPasteAndCompareDescription, kPasteAndCompareShortcut}},
    {Control::PasteButton,   {kPasteButtonName},       {kPasteAndCompareDescription, kPasteAndCompareShortcut}},
    {Control::AboutButton,   {kAboutButtonName, kProductName}, {}},
    {Control::LanguageList,  {kLanguageListName},      {}},
}};
// clang-format on

}  // namespace

AccessibleNames MainWindowAccessibleNames(const std::function<std::string(int)>& loadText) {
    const auto text = [&loadText](Text wanted) {
        return wanted.number == 0 ? std::string{}
                                  : digest::FillPlaceholders(loadText(wanted.number), {wanted.fill});
    };
    AccessibleNames names;
    for (const NamedControl& named : kNamedControls) {
        names.controls.push_back({named.control, {text(named.name), text(named.description)}});
    }
    names.progressBar = {text({kProgressBarName}), {}};
    names.cancelButton = {{}, text({kShortcutDescription, kCancelHashShortcut})};
    names.stringField = {text({kStringFieldName}), {}};
    return names;
}

std::string Announcement(const ProgressDisplay& display) {
    if (display.state.empty()) {
        return display.subject;
    }
    return display.subject + " \u2013 " + display.state;
}

}  // namespace tolvek::app
