#include "app/cli/calc_output.h"

#include <charconv>

namespace orvine::calc {

namespace {

void append_double17(std::string& out, double v)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17).ptr;
    out.append(buf, end);
}

} // namespace

void append_result_line(std::string& out, const Calculation& result)
{
    append_double17(out, result.b);
    out += '\t';
    out += result.sector->name;
    out += '\t';
    append_double17(out, result.d);
    out += '\t';
    out += result.bearing_caption;
    out += '\t';
    out += result.distance_caption;
    out += '\n';
}

std::string message_lines(std::string_view message)
{
    std::string text(message);
    for (char& ch : text) {
        if (ch == '\r')
            ch = '\n';
    }
    return text;
}

std::string message_one_line(std::string_view message)
{
    std::string text;
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = message.size();
        std::string_view part = message.substr(start, end - start);
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        if (!part.empty()) {
            if (!text.empty())
                text += ' ';
            text += part;
        }
        start = end + 1;
    }
    return text;
}

} // namespace orvine::calc
