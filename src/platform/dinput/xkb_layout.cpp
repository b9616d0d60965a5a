#include "platform/dinput/xkb_layout.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace dinput {
namespace {

constexpr std::string_view kSpaces = " \t\r";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kSpaces);
    return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view text) {
    text = Trim(text);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'')) {
        const auto end = text.find(text.front(), 1);
        return end == std::string_view::npos ? text.substr(1) : text.substr(1, end - 1);
    }
    return text;
}

// A configuration file is small; a larger one is not a keyboard's.
std::string ReadSmallFile(const char* path) {
    constexpr std::streamsize kLimit = 64 * 1024;
    std::ifstream file(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(kLimit), '\0');
    file.read(text.data(), kLimit);
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

} // namespace

std::optional<KeyboardLayout> LayoutFromXkbNames(std::string_view names) {
    std::string_view first = Trim(names.substr(0, names.find(',')));
    first = Trim(first.substr(0, first.find('(')));
    if (first.empty())
        return std::nullopt;
    return first == "jp" ? KeyboardLayout::Japanese : KeyboardLayout::Us;
}

std::string_view XkbNamesInConfiguration(std::string_view text) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.starts_with('#'))
            continue;
        if (line.starts_with("XKBLAYOUT=") || line.starts_with("XKBLAYOUT ="))
            return Unquote(line.substr(line.find('=') + 1));
        if (line.starts_with("Option")) {
            line = Trim(line.substr(6));
            const auto nameEnd = line.find('"', 1);
            if (line.starts_with('"') && nameEnd != std::string_view::npos &&
                line.substr(1, nameEnd - 1) == "XkbLayout")
                return Unquote(line.substr(nameEnd + 1));
        }
    }
    return {};
}

std::optional<KeyboardLayout> ConfiguredXkbLayout() {
    if (const char* names = std::getenv("XKB_DEFAULT_LAYOUT"); names && *names)
        return LayoutFromXkbNames(names);
    for (const char* path : {"/etc/default/keyboard", "/etc/X11/xorg.conf.d/00-keyboard.conf"}) {
        const std::string text = ReadSmallFile(path);
        if (auto layout = LayoutFromXkbNames(XkbNamesInConfiguration(text)))
            return layout;
    }
    return std::nullopt;
}

} // namespace dinput
