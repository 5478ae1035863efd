#include "runtime/key_string.h"

#include "runtime/errors.h"

#include <array>

namespace rt {

namespace {

struct NamedKey {
    std::wstring_view name; // upper case
    std::uint16_t code;
};

constexpr NamedKey named_keys[] = {
    {L"TAB", vk::Tab},           {L"DELETE", vk::Delete},
    {L"DEL", vk::Delete},        {L"BACKSPACE", vk::Back},
    {L"BS", vk::Back},           {L"BKSP", vk::Back},
    {L"DOWN", vk::Down},         {L"UP", vk::Up},
    {L"LEFT", vk::Left},         {L"RIGHT", vk::Right},
    {L"HOME", vk::Home},         {L"END", vk::End},
    {L"ENTER", vk::Return},      {L"ESC", vk::Escape},
    {L"ESCAPE", vk::Escape},     {L"INSERT", vk::Insert},
    {L"INS", vk::Insert},        {L"PGUP", vk::Prior},
    {L"PGDN", vk::Next},         {L"BREAK", vk::Cancel},
    {L"CAPSLOCK", vk::Capital},  {L"NUMLOCK", vk::NumLock},
    {L"SCROLLLOCK", vk::Scroll}, {L"PRTSC", vk::Snapshot},
    {L"HELP", vk::Help},
};

wchar_t ascii_upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c;
}

bool equals_upper(std::wstring_view text, std::wstring_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t k = 0; k < text.size(); ++k)
        if (ascii_upper(text[k]) != upper[k]) return false;
    return true;
}

// {F1}..{F16}
bool function_key(std::wstring_view name, std::uint16_t& code) {
    if (name.size() < 2 || name.size() > 3 || ascii_upper(name[0]) != L'F') return false;
    unsigned number = 0;
    for (const wchar_t c : name.substr(1)) {
        if (c < L'0' || c > L'9') return false;
        number = number * 10 + static_cast<unsigned>(c - L'0');
    }
    if (name[1] == L'0' || number < 1 || number > 16) return false;
    code = static_cast<std::uint16_t>(vk::F1 + number - 1);
    return true;
}

bool is_high_surrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool is_low_surrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A surrogate pair is one character wherever wchar_t is 16 bits wide.
std::size_t char_length(std::wstring_view s, std::size_t i) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (is_high_surrogate(s[i]) && i + 1 < s.size() && is_low_surrogate(s[i + 1])) return 2;
    }
    return 1;
}

[[noreturn]] void malformed() {
    throw RuntimeError(err::InvalidProcedureCall);
}

enum Modifier : std::uint8_t { Shift = 1, Control = 2, Alt = 4 };

// What one key token stands for: a virtual key, or the code units of one
// character.
struct Token {
    KeyAction::Kind kind;
    std::array<std::uint16_t, 2> units;
    std::size_t unit_count;
};

Token char_token(std::wstring_view ch) {
    Token t{KeyAction::Kind::Char, {}, 0};
    if (ch.size() == 2) {
        t.units = {static_cast<std::uint16_t>(ch[0]), static_cast<std::uint16_t>(ch[1])};
        t.unit_count = 2;
        return t;
    }
    const auto value = static_cast<std::uint32_t>(ch[0]);
    if (value > 0x10FFFF) malformed();
    if (value > 0xFFFF) {
        const std::uint32_t v = value - 0x10000;
        t.units = {static_cast<std::uint16_t>(0xD800 + (v >> 10)),
                   static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF))};
        t.unit_count = 2;
    } else {
        t.units = {static_cast<std::uint16_t>(value), 0};
        t.unit_count = 1;
    }
    return t;
}

Token key_token(std::uint16_t code) {
    return {KeyAction::Kind::Key, {code, 0}, 1};
}

// Sized for the common case of one event per character outside braces and
// one per braced name, so that long scripts fill the vector without regrowing.
std::size_t estimate_actions(std::wstring_view s) {
    std::size_t estimate = 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
        const wchar_t c = s[k];
        if (c == L'{') {
            ++estimate;
            ++k; // the first character after '{' may itself be '}'
            while (k + 1 < s.size() && s[k + 1] != L'}')
                ++k;
            ++k;
        } else if (c != L'+' && c != L'^' && c != L'%' && c != L'(' && c != L')') {
            ++estimate;
        }
    }
    return estimate;
}

class Parser {
public:
    explicit Parser(std::wstring_view keys) : s_(keys) {}

    std::vector<KeyAction> run() {
        out_.reserve(estimate_actions(s_));
        while (i_ < s_.size()) {
            const wchar_t c = s_[i_];
            switch (c) {
            case L'+':
            case L'^':
            case L'%':
                pending_ |= c == L'+' ? Shift : c == L'^' ? Control : Alt;
                ++i_;
                break;
            case L'(':
                groups_.push_back({static_cast<std::uint8_t>(held() | pending_), false});
                pending_ = 0;
                ++i_;
                break;
            case L')':
                // A group needs a key, and a modifier before ')' has none.
                if (groups_.empty() || !groups_.back().has_key || pending_ != 0) malformed();
                groups_.pop_back();
                mark_key();
                ++i_;
                break;
            case L'{':
                braced();
                break;
            case L'}':
                malformed();
            case L'~':
                emit(key_token(vk::Return), 1);
                ++i_;
                break;
            default: {
                const std::size_t len = char_length(s_, i_);
                emit(char_token(s_.substr(i_, len)), 1);
                i_ += len;
            }
            }
        }
        if (pending_ != 0 || !groups_.empty()) malformed();
        return std::move(out_);
    }

private:
    struct Group {
        std::uint8_t held; // modifiers in force for every key of the group
        bool has_key;
    };

    std::uint8_t held() const { return groups_.empty() ? 0 : groups_.back().held; }

    void mark_key() {
        if (!groups_.empty()) groups_.back().has_key = true;
    }

    // "{NAME}" or "{NAME n}". The first character after '{' always belongs to
    // the name, which is how "{}}" and "{{}" name the braces themselves.
    void braced() {
        const std::size_t n = s_.size();
        std::size_t j = i_ + 1;
        if (j >= n) malformed();
        const std::size_t name_begin = j;
        j += char_length(s_, j);
        while (j < n && s_[j] != L'}' && s_[j] != L' ')
            ++j;
        if (j >= n) malformed();
        const std::wstring_view name = s_.substr(name_begin, j - name_begin);

        std::size_t count = 1;
        if (s_[j] == L' ') {
            ++j;
            const std::size_t digits_begin = j;
            count = 0;
            for (; j < n && s_[j] >= L'0' && s_[j] <= L'9'; ++j) {
                // Saturate: anything this large is refused as too many events.
                if (count <= max_key_actions)
                    count = count * 10 + static_cast<std::size_t>(s_[j] - L'0');
            }
            if (j == digits_begin || j >= n || s_[j] != L'}') malformed();
        }
        emit(lookup(name), count);
        i_ = j + 1;
    }

    static Token lookup(std::wstring_view name) {
        if (name.size() == char_length(name, 0)) return char_token(name);
        for (const auto& key : named_keys)
            if (equals_upper(name, key.name)) return key_token(key.code);
        std::uint16_t code = 0;
        if (function_key(name, code)) return key_token(code);
        malformed();
    }

    void emit(const Token& token, std::size_t count) {
        const auto mods = static_cast<std::uint8_t>(held() | pending_);
        pending_ = 0;
        mark_key();
        if (count > (max_key_actions - out_.size()) / token.unit_count)
            throw RuntimeError(err::OutOfMemory);
        KeyAction action;
        action.kind = token.kind;
        action.shift = (mods & Shift) != 0;
        action.control = (mods & Control) != 0;
        action.alt = (mods & Alt) != 0;
        for (std::size_t r = 0; r < count; ++r) {
            for (std::size_t u = 0; u < token.unit_count; ++u) {
                action.code = token.units[u];
                out_.push_back(action);
            }
        }
    }

    std::wstring_view s_;
    std::size_t i_ = 0;
    std::uint8_t pending_ = 0; // modifiers typed but not yet applied to a key
    std::vector<Group> groups_;
    std::vector<KeyAction> out_;
};

} // namespace

std::vector<KeyAction> parse_key_string(std::wstring_view keys) {
    return Parser(keys).run();
}

} // namespace rt
