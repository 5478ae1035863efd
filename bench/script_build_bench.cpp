// Times building the keystroke script and parsing it into key events.
// Prints figures only; there is nothing to pass or fail.

#include "main_window/keystroke_script.h"
#include "runtime/key_string.h"

#include <chrono>
#include <cstddef>
#include <iostream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Every row ticked, with tile coordinates that scale to three- and four-digit
// pixel values as on a real map.
class MapInputs : public tolvane::ScriptInputs {
public:
    explicit MapInputs(std::wstring count) : count_(std::move(count)) {}

    int tick(int) override { return 1; }
    std::wstring patch_count() override { return count_; }
    std::wstring box(int player, tolvane::Box which) override {
        return std::to_wstring(12 * player + static_cast<int>(which) * 7);
    }

private:
    std::wstring count_;
};

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

void build_default_script() {
    constexpr int runs = 2000;
    MapInputs inputs(L"35");
    std::size_t length = 0;
    const auto start = Clock::now();
    for (int r = 0; r < runs; ++r)
        length += tolvane::build_keystroke_script(inputs).size();
    const double per_script = microseconds(Clock::now() - start) / runs;
    std::cout << "288-entry script (" << length / runs << " characters): " << per_script
              << " us per script, " << per_script * 1000 / 288 << " ns per entry\n";
}

void build_large_script() {
    constexpr int runs = 10;
    constexpr std::size_t entries = 100'000; // 8 rows x (12499 patch + 1 start)
    MapInputs inputs(L"12499");
    std::size_t length = 0;
    const auto start = Clock::now();
    for (int r = 0; r < runs; ++r)
        length += tolvane::build_keystroke_script(inputs).size();
    const double per_script = microseconds(Clock::now() - start) / runs;
    std::cout << "100,000-entry script (" << length / runs << " characters): " << per_script
              << " us per script, " << per_script * 1000 / entries << " ns per entry\n";
}

void parse_default_script() {
    constexpr int runs = 2000;
    MapInputs inputs(L"35");
    const std::wstring script = tolvane::build_keystroke_script(inputs);
    std::size_t keys = 0;
    const auto start = Clock::now();
    for (int r = 0; r < runs; ++r)
        keys += rt::parse_key_string(script).size();
    const double per_parse = microseconds(Clock::now() - start) / runs;
    std::cout << "parse of the 288-entry script (" << script.size() << " characters, "
              << keys / runs << " key events): " << per_parse << " us per parse\n";
}

} // namespace

int main() {
    build_default_script();
    build_large_script();
    parse_default_script();
}
