// The last ten lines of a text, found the plain way: split it after each
// line feed and keep the last ten complete lines, with whatever follows
// the last line feed.
#pragma once

#include <string>
#include <vector>

inline std::string last_ten_lines(const std::string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') starts.push_back(i + 1);
    }
    const std::size_t complete = starts.size() - 1;
    return text.substr(complete > 10 ? starts[complete - 10] : 0);
}
