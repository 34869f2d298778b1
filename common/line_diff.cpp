#include "line_diff.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orvane {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

enum class Op : std::uint8_t { Same, Remove, Add };

// Beyond this many differing lines the shortest script is not searched for:
// the middle of the texts is shown removed and added as a whole, which is a
// correct diff, only a longer one (memory grows with the square of the count).
constexpr std::ptrdiff_t kMaxSearchedEdits = 1000;

// The shortest edit script between a and b (Myers' greedy search). The
// furthest reaches of every round are kept for the way back: memory grows
// with the square of the number of edits, not with the length of the texts.
std::vector<Op> EditScript(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b)
{
    const auto n = static_cast<std::ptrdiff_t>(a.size());
    const auto m = static_cast<std::ptrdiff_t>(b.size());
    const std::ptrdiff_t max = std::min(n + m, kMaxSearchedEdits);
    std::vector<std::vector<std::ptrdiff_t>> rounds; // rounds[d][k + d]: furthest x on diagonal k
    std::vector<std::ptrdiff_t> v(1, 0);
    std::ptrdiff_t found = -1;
    for (std::ptrdiff_t d = 0; d <= max && found < 0; ++d) {
        std::vector<std::ptrdiff_t> next(static_cast<std::size_t>(2 * d + 1));
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            auto at = [&](std::ptrdiff_t diagonal) { return v[static_cast<std::size_t>(diagonal + d - 1)]; };
            std::ptrdiff_t x;
            if (d == 0)
                x = 0;
            else if (k == -d || (k != d && at(k - 1) < at(k + 1)))
                x = at(k + 1); // down: a line of b added
            else
                x = at(k - 1) + 1; // right: a line of a removed
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)])
                ++x, ++y;
            next[static_cast<std::size_t>(k + d)] = x;
            if (x >= n && y >= m)
                found = d;
        }
        rounds.push_back(next);
        v = std::move(next);
    }
    std::vector<Op> script;
    if (found < 0) {
        script.assign(static_cast<std::size_t>(n), Op::Remove);
        script.insert(script.end(), static_cast<std::size_t>(m), Op::Add);
        return script;
    }
    std::ptrdiff_t x = n, y = m;
    for (std::ptrdiff_t d = found; d > 0; --d) {
        const std::vector<std::ptrdiff_t>& prev = rounds[static_cast<std::size_t>(d - 1)];
        auto at = [&](std::ptrdiff_t diagonal) { return prev[static_cast<std::size_t>(diagonal + d - 1)]; };
        const std::ptrdiff_t k = x - y;
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const std::ptrdiff_t prevK = down ? k + 1 : k - 1;
        const std::ptrdiff_t prevX = at(prevK);
        const std::ptrdiff_t prevY = prevX - prevK;
        while (x > (down ? prevX : prevX + 1) && y > (down ? prevY + 1 : prevY)) {
            script.push_back(Op::Same);
            --x, --y;
        }
        script.push_back(down ? Op::Add : Op::Remove);
        x = prevX;
        y = prevY;
    }
    while (x > 0 && y > 0) {
        script.push_back(Op::Same);
        --x, --y;
    }
    std::reverse(script.begin(), script.end());
    return script;
}

void AppendLine(std::string& out, char mark, std::string_view line)
{
    out.push_back(mark);
    out.append(line);
    if (line.empty() || line.back() != '\n')
        out.append("\n\\ No newline at end of file\n");
}

void AppendRange(std::string& out, std::size_t start, std::size_t count)
{
    // A range of no lines names the line before it.
    out += std::to_string(count == 0 ? start : start + 1);
    if (count != 1)
        out += "," + std::to_string(count);
}

} // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeName,
                        std::string_view afterName, int context)
{
    if (before == after)
        return {};
    const std::vector<std::string_view> a = SplitLines(before);
    const std::vector<std::string_view> b = SplitLines(after);
    // A repair changes a few lines of a long page: the lines both share at
    // the start and the end are taken off before the search.
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::vector<std::string_view> middleA(a.begin() + static_cast<std::ptrdiff_t>(prefix),
                                                a.end() - static_cast<std::ptrdiff_t>(suffix));
    const std::vector<std::string_view> middleB(b.begin() + static_cast<std::ptrdiff_t>(prefix),
                                                b.end() - static_cast<std::ptrdiff_t>(suffix));
    std::vector<Op> script(prefix, Op::Same);
    const std::vector<Op> middle = EditScript(middleA, middleB);
    script.insert(script.end(), middle.begin(), middle.end());
    script.insert(script.end(), suffix, Op::Same);

    std::string out;
    out.append("--- ").append(beforeName).append("\n+++ ").append(afterName).append("\n");
    const auto around = static_cast<std::size_t>(std::max(context, 0));
    // Where each position of the script stands in a and in b.
    std::vector<std::size_t> lineA(script.size() + 1), lineB(script.size() + 1);
    for (std::size_t i = 0; i < script.size(); ++i) {
        lineA[i + 1] = lineA[i] + (script[i] != Op::Add);
        lineB[i + 1] = lineB[i] + (script[i] != Op::Remove);
    }
    std::size_t i = 0;
    while (i < script.size()) {
        if (script[i] == Op::Same) {
            ++i;
            continue;
        }
        // A hunk runs from the change to the last change that lies no more
        // than twice the context after the one before it.
        const std::size_t start = i > around ? i - around : 0;
        std::size_t end = i;
        std::size_t same = 0;
        for (std::size_t j = i; j < script.size(); ++j) {
            if (script[j] != Op::Same) {
                end = j + 1;
                same = 0;
            } else if (++same > 2 * around) {
                break;
            }
        }
        const std::size_t stop = std::min(script.size(), end + around);
        out += "@@ -";
        AppendRange(out, lineA[start], lineA[stop] - lineA[start]);
        out += " +";
        AppendRange(out, lineB[start], lineB[stop] - lineB[start]);
        out += " @@\n";
        for (std::size_t j = start; j < stop; ++j) {
            switch (script[j]) {
            case Op::Same: AppendLine(out, ' ', a[lineA[j]]); break;
            case Op::Remove: AppendLine(out, '-', a[lineA[j]]); break;
            case Op::Add: AppendLine(out, '+', b[lineB[j]]); break;
            }
        }
        i = stop;
    }
    return out;
}

} // namespace orvane
