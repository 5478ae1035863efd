#include "main_window/keystroke_script.h"

#include "runtime/conversions.h"
#include "runtime/errors.h"

#include <array>
#include <cmath>

namespace tolvane {

namespace {

constexpr double tile_size = 32;   // pixels per map tile
constexpr double tile_centre = 16; // a unit's y stands at the middle of its tile

struct Entry {
    std::wstring x_text;
    std::wstring y_text;
    std::size_t repeat = 0;

    std::size_t length() const {
        return x_lead_in.size() + x_text.size() + y_lead_in.size() + y_text.size() +
               entry_tail.size();
    }
};

// Each box is read and converted in full before the next is touched, so a
// bad x box stops the run without the y box being read.
Entry read_entry(ScriptInputs& inputs, int player, Box x_box, Box y_box) {
    Entry entry;
    const double x = rt::checked_mul(rt::text_to_number(inputs.box(player, x_box)), tile_size);
    entry.x_text = rt::number_to_text(x);
    const double y = rt::checked_add(
        rt::checked_mul(rt::text_to_number(inputs.box(player, y_box)), tile_size), tile_centre);
    entry.y_text = rt::number_to_text(y);
    return entry;
}

// The loop runs its counter from 1 in steps of 1 while it is at most the
// count, so a fractional count is cut down and anything below 1 gives none.
double repetitions(double count) {
    return count >= 1 ? std::floor(count) : 0;
}

class Plan {
public:
    void add(Entry entry, double times) {
        const std::size_t length = entry.length();
        if (times > static_cast<double>((max_script_length - total_) / length))
            throw rt::RuntimeError(rt::err::OutOfMemory);
        entry.repeat = static_cast<std::size_t>(times);
        total_ += entry.repeat * length;
        entries_[count_++] = std::move(entry);
    }

    std::wstring write() const {
        std::wstring script;
        script.reserve(total_);
        for (std::size_t k = 0; k < count_; ++k) {
            const Entry& entry = entries_[k];
            const std::size_t begin = script.size();
            script += x_lead_in;
            script += entry.x_text;
            script += y_lead_in;
            script += entry.y_text;
            script += entry_tail;
            // Nothing can change a box during one run, so a row's patch
            // entries are all alike.
            const std::size_t length = script.size() - begin;
            for (std::size_t r = 1; r < entry.repeat; ++r)
                script.append(script, begin, length);
        }
        return script;
    }

private:
    std::array<Entry, 2 * player_count> entries_; // a patch and a start entry per row
    std::size_t count_ = 0;
    std::size_t total_ = 0;
};

} // namespace

std::wstring build_keystroke_script(ScriptInputs& inputs) {
    Plan plan;
    for (int player = 1; player <= player_count; ++player) {
        if (inputs.tick(player) != 1) continue;
        const double times = repetitions(rt::text_to_number(inputs.patch_count()));
        if (times < 1) continue;
        plan.add(read_entry(inputs, player, Box::PatchX, Box::PatchY), times);
    }
    for (int player = 1; player <= player_count; ++player) {
        if (inputs.tick(player) != 1) continue;
        plan.add(read_entry(inputs, player, Box::StartX, Box::StartY), 1);
    }
    return plan.write();
}

} // namespace tolvane
