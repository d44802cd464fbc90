// The string-input and About windows: their fixed texts, and where the About window's links
// lead. The texts are the same in every language.
#pragma once

#include <string>
#include <string_view>

#include "app/window/WindowSystem.h"

namespace tolvek::window {

// The string-input window's title until HashStringAction sets the language's text 14.
inline constexpr std::string_view kStringInputInitialTitle = "Insert the String for HASH";
inline constexpr std::string_view kStringInputOkCaption = "OK";

inline constexpr std::string_view kAboutTitle = "About";
inline constexpr std::string_view kAboutOkCaption = "Ok";
inline constexpr std::string_view kAboutFreeware = "Freeware";
inline constexpr std::string_view kWebSiteAddress = "http://www.tolvek.example/";
inline constexpr std::string_view kContactPageAddress = "http://www.tolvek.example/php/contact";
inline constexpr std::string_view kContactLabelText = "Contact form my Internet site.";
inline constexpr std::string_view kTranslationContact = "translate@tolvek.example";
// Written as is, spaces not encoded: the subject ends with a space, the body starts with one.
inline constexpr std::string_view kMailQuery =
    "?subject=Your program TOLVEK 1.9x &body= Your program TOLVEK 1.9x";

// The About window's three clickable labels.
enum class AboutLink { WebSite, ContactForm, Mail };

// What a link opens: the web site and contact labels both open the contact page; the mail
// label a new mail to the translation contact.
std::string AboutLinkTarget(AboutLink link);

// A click on a link: hands its target to the user's default program.
void OpenAboutLink(WindowSystem& windows, AboutLink link);

}  // namespace tolvek::window
