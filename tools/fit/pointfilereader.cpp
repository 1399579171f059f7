#include "pointfilereader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <vector>

namespace {
// The line's numbers, or nothing when a cell is not a finite decimal number or two commas leave an
// empty cell between them.
std::optional<std::vector<double>> Numbers(const std::string &line, std::string &problem)
{
    std::vector<double> numbers;
    std::size_t at = 0;
    bool commaSeen = true; // the line's start counts as a separator: a leading comma is an empty cell
    while (at < line.size()) {
        const char ch = line[at];
        if (ch == ' ' || ch == '\t') {
            ++at;
            continue;
        }
        if (ch == ',') {
            if (commaSeen) {
                problem = "an empty cell";
                return std::nullopt;
            }
            commaSeen = true;
            ++at;
            continue;
        }
        std::size_t end = line.find_first_of(" \t,", at);
        if (end == std::string::npos)
            end = line.size();
        const char *first = line.data() + at;
        const char *last = line.data() + end;
        if (*first == '+')
            ++first;
        double value = 0.0;
        const auto result = std::from_chars(first, last, value);
        if (result.ec != std::errc() || result.ptr != last || first == last || !std::isfinite(value)) {
            problem = "\"" + line.substr(at, end - at) + "\" is not a number";
            return std::nullopt;
        }
        numbers.push_back(value);
        commaSeen = false;
        at = end;
    }
    if (commaSeen && !numbers.empty()) {
        problem = "an empty cell";
        return std::nullopt;
    }
    return numbers;
}

bool IsWholeNumber(double value)
{
    return value >= 0.0 && value == std::floor(value) && value < 1e9;
}
} // namespace

std::optional<TPointFile> TPointFileReader::Read(std::istream &in, std::string &error)
{
    TPointFile file;
    std::optional<std::size_t> count;
    std::size_t width = 0; // the numbers a point line holds, fixed by the first one
    bool first = true;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string problem;
        const auto numbers = Numbers(line, problem);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!numbers) {
            error = where + problem;
            return std::nullopt;
        }
        if (numbers->empty())
            continue;
        if (first && numbers->size() == 1 && IsWholeNumber(numbers->front())) {
            count = static_cast<std::size_t>(numbers->front());
            first = false;
            continue;
        }
        first = false;
        const std::size_t n = numbers->size();
        if (n != 3 && n != 4 && n != 6) {
            error = where + "expected x y z, x y z i j k or a point number and x y z, got " +
                    std::to_string(n) + " numbers";
            return std::nullopt;
        }
        if (width == 0)
            width = n;
        if (n != width) {
            error =
                where + std::to_string(n) + " numbers where the lines before have " + std::to_string(width);
            return std::nullopt;
        }
        const std::size_t offset = n == 4 ? 1 : 0;
        if (n == 4 && !IsWholeNumber(numbers->front())) {
            error = where + "the point number is not a whole number";
            return std::nullopt;
        }
        const auto &v = *numbers;
        file.points.emplace_back(v[offset], v[offset + 1], v[offset + 2]);
        if (n == 6) {
            const Eigen::Vector3d direction(v[3], v[4], v[5]);
            if (direction.norm() == 0.0) {
                error = where + "the approach direction is zero";
                return std::nullopt;
            }
            file.directions.push_back(direction);
        }
    }
    if (in.bad()) {
        error = "the file cannot be read";
        return std::nullopt;
    }
    if (count && *count != file.points.size()) {
        error = "the first line says " + std::to_string(*count) + " points, the file holds " +
                std::to_string(file.points.size());
        return std::nullopt;
    }
    return file;
}

std::optional<TPointFile> TPointFileReader::ReadFile(const std::string &fileName, std::string &error)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        error = "cannot open " + fileName;
        return std::nullopt;
    }
    auto file = Read(in, error);
    if (!file)
        error = fileName + ": " + error;
    return file;
}
