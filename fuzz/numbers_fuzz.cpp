// Strict numbers and the text files they are read from: parseInt agrees with
// a plain reading of the rule (optional sign, digits only, 32 bits), and
// splitting a file into lines and fields loses nothing.
#include "engine/DataError.h"
#include "engine/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool plainInt(std::string_view t, int& out) {
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size()) return false;
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > int64_t{1} << 31) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = static_cast<int>(v);
    return true;
}

void checkNumber(std::string_view text) {
    int got = 7, want = 7;
    const bool ok = korvath::parseInt(text, got);
    if (ok != plainInt(text, want) || (ok && got != want)) abort();
}

std::string joinTabs(const std::vector<std::string>& fields) {
    std::string s;
    for (size_t i = 0; i < fields.size(); ++i) s += (i ? "\t" : "") + fields[i];
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvath;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkNumber(input);

    TextFile file = TextFile::fromText("fuzz.txt", input);
    size_t newlines = 0;
    for (char c : input) newlines += c == '\n';
    const size_t lines = newlines + (!input.empty() && input.back() != '\n' ? 1 : 0);
    if (file.lineCount() != lines) abort();
    int refusals = 0; // a refusal throws, which is slow: a few per input do
    while (!file.atEnd()) {
        const std::string line = file.readLine();
        const auto fields = splitTabs(line);
        if (joinTabs(fields) != line) abort();
        const auto three = splitTabs(line, 3);
        if (three.size() > 3 || joinTabs(three) != line) abort();
        for (const auto& f : fields) {
            checkNumber(f);
            int want = 0;
            const bool valid = plainInt(f, want);
            if (!valid && ++refusals > 4) continue;
            try {
                const int got = file.toInt(f, "the field");
                if (!valid || got != want) abort();
            } catch (const DataError& e) {
                // The error names this file's current line.
                if (valid || e.line() != file.lineNumber()) abort();
            }
        }
    }
    if (!file.readLine().empty()) abort(); // past the end: empty lines
    return 0;
}
