#include "data/RegisterText.h"

#include <array>
#include <string_view>
#include <utility>

namespace kalvo {

namespace {

void replaceAll(std::string &text, std::string_view from, std::string_view to)
{
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

using Pair = std::pair<std::string_view, std::string_view>;

constexpr std::array<Pair, 12> kToRegister{{
    {"nj", "w"}, {"lj", "q"}, {"dj", "|"}, {"dz", "x"},
    {"Nj", "W"}, {"Lj", "Q"}, {"Dj", "\\"}, {"Dz", "X"},
    {"NJ", "W"}, {"LJ", "Q"}, {"DJ", "\\"}, {"DZ", "X"},
}};

constexpr std::array<Pair, 16> kToLatin{{
    {"w", "nj"}, {"q", "lj"}, {"`", "z"}, {"~", "c"}, {"{", "s"}, {"}", "c"}, {"|", "dj"}, {"x", "dz"},
    {"@", "Z"}, {"^", "C"}, {"[", "S"}, {"]", "C"}, {"\\", "Dj"}, {"X", "Dz"}, {"W", "Nj"}, {"Q", "Lj"},
}};

// 7-bit code -> ISO 8859-5 code
constexpr std::array<std::pair<char, unsigned char>, 62> kTo8859{{
    {'A', 176}, {'B', 177}, {'C', 198}, {'D', 180}, {'E', 181}, {'F', 196}, {'G', 179},
    {'H', 197}, {'I', 184}, {'J', 168}, {'K', 186}, {'L', 187}, {'M', 188}, {'N', 189},
    {'O', 190}, {'P', 191}, {'Q', 169}, {'R', 192}, {'S', 193}, {'T', 194}, {'U', 195},
    {'V', 178}, {'W', 170}, {'X', 175}, {'Y', 175}, {'Z', 183},
    {'a', 208}, {'b', 209}, {'c', 230}, {'d', 212}, {'e', 213}, {'f', 228}, {'g', 211},
    {'h', 229}, {'i', 216}, {'j', 248}, {'k', 218}, {'l', 219}, {'m', 220}, {'n', 221},
    {'o', 222}, {'p', 223}, {'q', 249}, {'r', 224}, {'s', 225}, {'t', 226}, {'u', 227},
    {'v', 210}, {'w', 250}, {'x', 255}, {'y', 255}, {'z', 215},
    {'@', 182}, {'`', 214}, {'^', 199}, {'~', 231}, {'[', 200}, {'{', 232},
    {']', 171}, {'}', 251}, {'\\', 162}, {'|', 242},
}};

struct Tables {
    std::array<unsigned char, 256> to8859{};
    std::array<unsigned char, 256> from8859{};
    Tables()
    {
        for (int i = 0; i < 256; ++i)
            to8859[i] = from8859[i] = static_cast<unsigned char>(i);
        for (const auto &[seven, eight] : kTo8859)
            to8859[static_cast<unsigned char>(seven)] = eight;
        // walk backwards so that 175 and 255 keep X and x rather than Y and y
        for (auto it = kTo8859.rbegin(); it != kTo8859.rend(); ++it)
            from8859[it->second] = static_cast<unsigned char>(it->first);
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

std::string mapBytes(const std::string &text, const std::array<unsigned char, 256> &map)
{
    std::string out = text;
    for (char &c : out)
        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

std::string ConvertRegisterText(const std::string &text, bool toLatin)
{
    std::string out = text;
    if (toLatin) {
        for (const auto &[from, to] : kToLatin)
            replaceAll(out, from, to);
    } else {
        for (const auto &[from, to] : kToRegister)
            replaceAll(out, from, to);
    }
    return out;
}

std::string To8859(const std::string &text)
{
    return mapBytes(text, tables().to8859);
}

std::string From8859(const std::string &text)
{
    return mapBytes(text, tables().from8859);
}

bool HasNoLatinLetters(const std::string &text)
{
    for (char c : text)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return false;
    return true;
}

} // namespace kalvo
