#include "runtime/key_string.h"

#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using rt::KeyAction;
namespace vk = rt::vk;

enum : unsigned { S = 1, C = 2, A = 4 };

KeyAction key(std::uint16_t code, unsigned mods = 0) {
    return {KeyAction::Kind::Key, code, (mods & S) != 0, (mods & C) != 0, (mods & A) != 0};
}

KeyAction ch(wchar_t c, unsigned mods = 0) {
    return {KeyAction::Kind::Char, static_cast<std::uint16_t>(c), (mods & S) != 0, (mods & C) != 0,
            (mods & A) != 0};
}

std::vector<KeyAction> chars(std::wstring_view text) {
    std::vector<KeyAction> out;
    for (const wchar_t c : text)
        out.push_back(ch(c));
    return out;
}

std::vector<KeyAction> keys(std::uint16_t code, std::size_t count) {
    return std::vector<KeyAction>(count, key(code));
}

std::vector<KeyAction> operator+(std::vector<KeyAction> a, const std::vector<KeyAction>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ValidCase {
    const wchar_t* keys;
    std::vector<KeyAction> expected;
};

void expect_parses(const std::vector<ValidCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "keys: \"" << std::wstring(c.keys) << "\"");
        EXPECT_EQ(rt::parse_key_string(c.keys), c.expected);
    }
}

TEST(ParseKeyString, TypesCharactersAndNamedKeys) {
    expect_parses({
        {L"", {}},
        {L"abc", chars(L"abc")},
        {L"-3376.5", chars(L"-3376.5")},
        {L"1.5E-7", chars(L"1.5E-7")},
        {L"A z[]", chars(L"A z[]")},
        {L"\u00e9\u20ac", chars(L"\u00e9\u20ac")},
        {L"{TAB}{TAB}{TAB}{DELETE}{DELETE}{DELETE}{DELETE}{BACKSPACE}{BACKSPACE}{BACKSPACE}"
         L"{BACKSPACE}",
         keys(vk::Tab, 3) + keys(vk::Delete, 4) + keys(vk::Back, 4)},
        {L"{TAB}{TAB}{TAB}{DOWN}", keys(vk::Tab, 3) + keys(vk::Down, 1)},
        {L"{tab}{Tab}{del}{Bs}{bksp}", keys(vk::Tab, 2) + keys(vk::Delete, 1) + keys(vk::Back, 2)},
        {L"{UP}{LEFT}{RIGHT}{HOME}{END}{PGUP}{PGDN}",
         {key(vk::Up), key(vk::Left), key(vk::Right), key(vk::Home), key(vk::End), key(vk::Prior),
          key(vk::Next)}},
        {L"{ENTER}~{ESC}{ESCAPE}{INSERT}{INS}",
         keys(vk::Return, 2) + keys(vk::Escape, 2) + keys(vk::Insert, 2)},
        {L"{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{PRTSC}{HELP}",
         {key(vk::Cancel), key(vk::Capital), key(vk::NumLock), key(vk::Scroll), key(vk::Snapshot),
          key(vk::Help)}},
        {L"{F1}{f9}{F10}{F16}", {key(vk::F1), key(0x78), key(0x79), key(vk::F16)}},
        {L"{F}{x}{ }", chars(L"Fx ")},
        {L"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}", chars(L"+^%~(){}[]")},
    });
}

TEST(ParseKeyString, AppliesModifiersToNextKeyOrGroup) {
    expect_parses({
        {L"+a", {ch(L'a', S)}},
        {L"^c", {ch(L'c', C)}},
        {L"%f", {ch(L'f', A)}},
        {L"+ab", {ch(L'a', S), ch(L'b')}},
        {L"^+a%b", {ch(L'a', S | C), ch(L'b', A)}},
        {L"+{TAB}", {key(vk::Tab, S)}},
        {L"+~", {key(vk::Return, S)}},
        {L"^{+}", {ch(L'+', C)}},
        {L"+(ab)c", {ch(L'a', S), ch(L'b', S), ch(L'c')}},
        {L"^(a+b{TAB})", {ch(L'a', C), ch(L'b', S | C), key(vk::Tab, C)}},
        {L"%(a^(bc)d)", {ch(L'a', A), ch(L'b', A | C), ch(L'c', A | C), ch(L'd', A)}},
        {L"(ab)", chars(L"ab")},
        {L"+{TAB 2}x", {key(vk::Tab, S), key(vk::Tab, S), ch(L'x')}},
    });
}

TEST(ParseKeyString, RepeatsBracedKeys) {
    expect_parses({
        {L"{TAB 3}", keys(vk::Tab, 3)},
        {L"{down 1}", keys(vk::Down, 1)},
        {L"{x 10}", chars(L"xxxxxxxxxx")},
        {L"{+ 2}", chars(L"++")},
        {L"{} 2}{{ 2}", chars(L"}}{{")},
        {L"{TAB 0}a", chars(L"a")},
        {L"+{TAB 0}a", chars(L"a")},
        {L"{F12 02}", {key(0x7B), key(0x7B)}},
    });
}

TEST(ParseKeyString, TypesCharactersBeyondTheBmpAsSurrogatePairs) {
    const std::vector<KeyAction> pair{ch(wchar_t(0xD83D)), ch(wchar_t(0xDE00))};
    expect_parses({
        {L"\U0001F600", pair},
        {L"{\U0001F600}", pair},
        {L"{\U0001F600 2}", pair + pair},
    });
}

TEST(ParseKeyString, RejectsMalformedStrings) {
    const wchar_t* cases[] = {
        L"{",      L"}",        L"a}",       L"{TAB",    L"{TAB}}",   L"{}",
        L"{{}}",   L"{NOPE}",   L"{TABS}",   L"{F0}",    L"{F17}",    L"{F01}",
        L"{ab}",   L"{ENTER }", L"{TAB  3}", L"{TAB x}", L"{TAB -1}", L"{TAB 3 }",
        L"{TAB 3", L"{TAB 3x}", L"{ 3}",     L"(",       L")",        L"(a",
        L"a)",     L"(a))",     L"()",       L"+()",     L"+",        L"^",
        L"%",      L"a+",       L"^+",       L"(a+)",    L"+)",       L"+}",
    };
    for (const auto* text : cases) {
        SCOPED_TRACE(testing::Message() << "keys: \"" << std::wstring(text) << "\"");
        int number = 0;
        try {
            rt::parse_key_string(text);
        } catch (const rt::RuntimeError& e) {
            number = e.number;
        }
        EXPECT_EQ(number, rt::err::InvalidProcedureCall);
    }
}

TEST(ParseKeyString, RefusesRepeatsBeyondTheEventLimit) {
    for (const auto* text : {L"{a 99999999999999999999999}", L"{TAB 67108865}"}) {
        SCOPED_TRACE(testing::Message() << "keys: \"" << std::wstring(text) << "\"");
        int number = 0;
        try {
            rt::parse_key_string(text);
        } catch (const rt::RuntimeError& e) {
            number = e.number;
        }
        EXPECT_EQ(number, rt::err::OutOfMemory);
    }
}

TEST(ParseKeyString, ParsesALongScriptQuickly) {
    const std::wstring entry = L"{TAB}{TAB}{TAB}{DELETE}{DELETE}{DELETE}{DELETE}{BACKSPACE}"
                               L"{BACKSPACE}{BACKSPACE}{BACKSPACE}3072{TAB}{DELETE}{DELETE}"
                               L"{DELETE}{DELETE}{BACKSPACE}{BACKSPACE}{BACKSPACE}{BACKSPACE}3376"
                               L"{TAB}{TAB}{TAB}{DOWN}";
    std::wstring script;
    for (int k = 0; k < 288; ++k)
        script += entry;

    const auto start = std::chrono::steady_clock::now();
    const auto actions = rt::parse_key_string(script);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(actions.size(), 288u * 32u);
    // Generous enough for a sanitizer build; the release figure is far lower.
    EXPECT_LT(elapsed, std::chrono::milliseconds(50));
}

} // namespace
