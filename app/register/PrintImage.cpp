#include "register/PrintImage.h"

namespace kalvo::printimage {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string rightTrimmed(const std::string &text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string padRight(const std::string &text, std::size_t width)
{
    std::string out = text;
    if (out.size() < width)
        out.append(width - out.size(), ' ');
    return out;
}

bool isEmptyStoredLine(const std::string &stored)
{
    return trimmed(stored).size() <= 2;
}

LineImage layoutForSending(const std::string &stored, int lineWidth)
{
    LineImage line;
    const std::size_t width = lineWidth > 0 ? std::size_t(lineWidth) : 0;
    line.text = trimmed(stored.substr(0, width));
    line.bold = !(stored.size() > kTextField && stored[kTextField] == '0');
    line.centered = !(stored.size() > kTextField + 1 && stored[kTextField + 1] == '0');
    return line;
}

std::string boldImage(const std::string &text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        out.push_back(kEsc);
        out.push_back(c);
    }
    return out;
}

std::string centredImage(std::string text, int lineWidth)
{
    const auto width = std::size_t(lineWidth > 0 ? lineWidth : 0);
    while (text.size() + 2 < width) {
        text.push_back(' ');
        text.insert(text.begin(), ' ');
    }
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

void markEmptyTrailingLines(std::span<std::string> lines)
{
    for (std::size_t r = lines.size(); r-- > 1;) {
        if (!trimmed(lines[r]).empty())
            break;
        lines[r] = std::string(1, kNul);
    }
}

} // namespace kalvo::printimage
