// How fast and how faithfully the default 288-entry script reaches SCM
// Toolkit (played by the test double): the sender's own work, the time until
// the last key has arrived, keys per second, and keys lost or out of order.
// The same keys sent one SendInput per key with a 1 ms pause serve as the
// reference. Needs a desktop (under Wine: a display) and prints figures only.

#include "e2e/desktop.h"
#include "main_window/keystroke_script.h"
#include "runtime/activation.h"
#include "runtime/errors.h"
#include "runtime/key_string.h"
#include "runtime/send_keys.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Units = 300;
constexpr int KeyWaitMs = 600000;

// Every row ticked, 35 patches each, tile values that make three- and
// four-digit pixel values as on a real map.
class MapInputs : public tolvane::ScriptInputs {
public:
    int tick(int) override { return 1; }
    std::wstring patch_count() override { return L"35"; }
    std::wstring box(int player, tolvane::Box which) override {
        return std::to_wstring(tile(player, which));
    }
    static int tile(int player, tolvane::Box which) {
        return 12 * player + static_cast<int>(which) * 7;
    }
};

// The presses the double should see, worked out from the tiles.
std::vector<unsigned> expected_keys() {
    using tolvane::Box;
    std::vector<unsigned> keys;
    const auto entry = [&](int player, Box x, Box y) {
        scm_double::append_entry_keys(keys, std::to_wstring(MapInputs::tile(player, x) * 32),
                                      std::to_wstring(MapInputs::tile(player, y) * 32 + 16));
    };
    for (int p = 1; p <= tolvane::player_count; ++p)
        for (int k = 0; k < 35; ++k)
            entry(p, Box::PatchX, Box::PatchY);
    for (int p = 1; p <= tolvane::player_count; ++p)
        entry(p, Box::StartX, Box::StartY);
    return keys;
}

double ms(std::int64_t us) {
    return static_cast<double>(us) / 1000.0;
}

struct Delivery {
    std::int64_t start_us = 0;     // the call
    std::int64_t activated_us = 0; // AppActivate returned
    std::int64_t sent_us = 0;      // the last key handed to the system
    std::size_t events_sent = 0;
};

void print_delivery(const char* name, const Delivery& d, const scm_double::Report& r,
                    const std::vector<unsigned>& expected) {
    std::size_t misplaced = 0;
    for (std::size_t i = 0; i < std::min(r.sequence.size(), expected.size()); ++i)
        if (r.sequence[i] != expected[i]) ++misplaced;
    const long long lost =
        static_cast<long long>(expected.size()) - static_cast<long long>(r.sequence.size());
    const std::int64_t end_to_end = r.last_key_us - d.start_us;
    std::printf("%s\n", name);
    std::printf("  sender's own work (find, activate, parse, inject): %.1f ms"
                " (activation %.1f ms)\n",
                ms(d.sent_us - d.start_us), ms(d.activated_us - d.start_us));
    std::printf("  events handed to SendInput: %zu\n", d.events_sent);
    std::printf("  keys received: %d of %zu; lost %lld, out of order %zu; with a modifier %d;"
                " stray characters %d\n",
                r.keys, expected.size(), lost, misplaced, r.modified_keys, r.stray_chars);
    std::printf("  from the call to the first key received: %.1f ms\n",
                ms(r.first_key_us - d.start_us));
    std::printf("  from the call to the last key received: %.1f ms\n", ms(end_to_end));
    std::printf("  keys per second, end to end: %.0f\n",
                end_to_end > 0 ? r.keys * 1e6 / static_cast<double>(end_to_end) : 0.0);
}

// Tolvane's way: one call that activates and types the whole script.
Delivery deliver_in_one_call(const std::wstring& script) {
    Delivery d;
    d.start_us = scm_double::clock_us();
    rt::AppActivate(L"SCM Toolkit");
    d.activated_us = scm_double::clock_us();
    d.events_sent = rt::type_keys(script).events_sent;
    d.sent_us = scm_double::clock_us();
    return d;
}

// The reference: one SendInput per key, 1 ms apart.
Delivery deliver_key_by_key(const std::wstring& script) {
    Delivery d;
    d.start_us = scm_double::clock_us();
    HWND target = rt::AppActivate(L"SCM Toolkit");
    d.activated_us = scm_double::clock_us();
    const std::vector<INPUT> events = rt::key_events(
        rt::parse_key_string(script), GetKeyboardLayout(GetWindowThreadProcessId(target, nullptr)));
    for (std::size_t i = 0; i + 1 < events.size(); i += 2) {
        INPUT stroke[2] = {events[i], events[i + 1]};
        d.events_sent += SendInput(2, stroke, sizeof(INPUT));
        Sleep(1);
    }
    d.sent_us = scm_double::clock_us();
    return d;
}

void time_parsing(const std::wstring& script) {
    constexpr int runs = 20;
    std::int64_t parsing = 0, converting = 0;
    std::size_t events = 0;
    for (int i = 0; i < runs; ++i) {
        const std::int64_t start = scm_double::clock_us();
        const std::vector<rt::KeyAction> actions = rt::parse_key_string(script);
        const std::int64_t parsed = scm_double::clock_us();
        events = rt::key_events(actions, GetKeyboardLayout(0)).size();
        parsing += parsed - start;
        converting += scm_double::clock_us() - parsed;
    }
    std::printf("per script: parse %.2f ms, turn into %zu input events %.2f ms\n\n",
                ms(parsing) / runs, events, ms(converting) / runs);
}

template <typename Deliver>
bool run(const char* name, Deliver deliver, const std::wstring& script,
         const std::vector<unsigned>& expected) {
    desktop::ScmToolkitDouble scm(L"Scm Toolkit", Units);
    if (!scm.hwnd()) {
        std::printf("%s: the SCM Toolkit stand-in did not start\n", name);
        return false;
    }
    try {
        const Delivery d = deliver(script);
        scm.wait_for_keys(static_cast<int>(expected.size()), KeyWaitMs);
        print_delivery(name, d, scm.report(), expected);
    } catch (const rt::RuntimeError& e) {
        std::printf("%s: run-time error %d\n", name, e.number);
        return false;
    }
    return true;
}

} // namespace

int main() {
    MapInputs inputs;
    const std::wstring script = tolvane::build_keystroke_script(inputs);
    const std::vector<unsigned> expected = expected_keys();
    std::printf("default script: 288 entries, %zu characters, %zu keys\n", script.size(),
                expected.size());
    time_parsing(script);
    bool ok = run("one call (Tolvane's SendKeys):", deliver_in_one_call, script, expected);
    std::printf("\n");
    ok = run("reference, one SendInput per key with a 1 ms pause:", deliver_key_by_key, script,
             expected) &&
         ok;
    return ok ? 0 : 1;
}
