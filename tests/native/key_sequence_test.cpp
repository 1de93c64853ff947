// The exact stream of key events and pauses that texts produce.
#include <gtest/gtest.h>

#include "keys/key_sequence.h"
#include "recording_keyboard.h"

namespace {

using Stream = std::vector<std::string>;

std::string D(int vk, bool x = false) {
    return "D" + std::to_string(vk) + "/" + std::to_string(RecordingKeyboard::Scan(vk)) + (x ? "x" : "");
}
std::string U(int vk, bool x = false) {
    return "U" + std::to_string(vk) + "/" + std::to_string(RecordingKeyboard::Scan(vk)) + (x ? "x" : "");
}
std::string S(int ms) {
    return "S" + std::to_string(ms);
}
// One key with nothing around it: empty modifier press, the key, empty release.
Stream Key(int vk, bool x = false) {
    return {S(1), D(vk, x), S(1), U(vk, x), S(5), S(5)};
}
Stream operator+(Stream a, const Stream& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A key pressed n times inside one modifier press and release.
Stream Repeat(int vk, int n) {
    Stream s{S(1)};
    for (int i = 0; i < n; ++i) s = s + Stream{D(vk), S(1), U(vk), S(5)};
    return s + Stream{S(5)};
}
Stream AltCode(const std::string& digits) {
    Stream s{D(18), S(1)};
    for (char d : digits) s = s + Stream{D(96 + d - '0'), S(1), U(96 + d - '0'), S(5)};
    return s + Stream{U(18), S(5)};
}

struct Keys : ::testing::Test {
    RecordingKeyboard kb;
    KeySequence keys{kb, kb};
    void Use(const std::string& layout) {
        kb.layout = layout;
        keys.InitKeyboardLayout();
        kb.stream.clear();
    }
    void SetUp() override { Use("00000409"); }
    Stream Send(const std::string& text) {
        kb.stream.clear();
        keys.Send(text);
        return kb.stream;
    }
};

TEST_F(Keys, TheTableHas93RowsInItsOrder) {
    ASSERT_EQ(KeyNameCount, 93);
    EXPECT_STREQ(KeyNameTable[0].name, "ALT");
    EXPECT_STREQ(KeyNameTable[62].name, "SLEEP");
    EXPECT_STREQ(KeyNameTable[63].name, "NUMPADENTER");
    EXPECT_STREQ(KeyNameTable[82].name, "CTRLDOWN");
    EXPECT_STREQ(KeyNameTable[92].name, "ASC");
    EXPECT_STREQ(KeyNameTable[69].name, "BROWSER_FAVORTIES");
    EXPECT_EQ(KeyNameTable[69].virtualKey, 171);
    EXPECT_EQ(static_cast<int>(KeyNameTable[92].action), 10);
    EXPECT_EQ(static_cast<int>(KeyNameTable[0].action), 12);
}

TEST_F(Keys, CtrlAltHome) {
    EXPECT_EQ(Send("^!{HOME}"), (Stream{D(17), D(18), S(1), D(36, true), S(1), U(36, true), S(5), U(18), U(17), S(5)}));
    EXPECT_EQ(keys.modifierState, 0u);
}

TEST_F(Keys, ShiftAndWinPrefixes) {
    EXPECT_EQ(Send("+a"), (Stream{D(16), S(1), D('A'), S(1), U('A'), S(5), U(16), S(5)}));
    EXPECT_EQ(Send("#r"), (Stream{D(91), S(1), D('R'), S(1), U('R'), S(5), U(91), S(5)}));
    EXPECT_EQ(Send("#+{HOME}"), (Stream{D(91), D(16), S(1), D(36, true), S(1), U(36, true), S(5), U(16),
                                        U(91), S(5)}));
    EXPECT_EQ(keys.modifierState, 0u);
}

TEST_F(Keys, RepeatCounts) {
    EXPECT_EQ(Send("{enter 3}"), Repeat(13, 3));
    EXPECT_EQ(Send("{a 3}"), Repeat('A', 3));
    EXPECT_EQ(Send("{x 0}"), Key('X'));
    EXPECT_EQ(Send("{x abc}"), Key('X'));
    EXPECT_EQ(Send("{x -4}"), Key('X'));
    EXPECT_EQ(Send("{x \t 2}"), Repeat('X', 2));
    EXPECT_EQ(Send("{x 99999999999999999999}").size(), Repeat('X', 1000).size());
}

TEST_F(Keys, BracesAndPrefixCharacters) {
    // "{" is Shift plus the bracket key on this layout.
    const Stream brace = {D(16), S(1), D(0xDB), S(1), U(0xDB), S(5), U(16), S(5)};
    EXPECT_EQ(Send("{{}"), brace);
    EXPECT_EQ(Send("}"), (Stream{D(16), S(1), D(0xDD), S(1), U(0xDD), S(5), U(16), S(5)}));
    EXPECT_EQ(Send("{!}"), (Stream{D(16), S(1), D('1'), S(1), U('1'), S(5), U(16), S(5)}));
    EXPECT_EQ(keys.modifierState, 0u);
    // A "{" without a "}" is typed and the rest read as characters, without
    // the brace's own Shift: "{a" is not "{A".
    EXPECT_EQ(Send("{a"), brace + Key('A'));
    const Stream ctrlBrace = {D(16), D(17), S(1), D(0xDB), S(1), U(0xDB), S(5), U(17), U(16), S(5)};
    const Stream ctrlA = {D(17), S(1), D('A'), S(1), U('A'), S(5), U(17), S(5)};
    EXPECT_EQ(Send("^{a"), ctrlBrace + ctrlA);
    EXPECT_EQ(Send("{}"), Stream{});
}

TEST_F(Keys, CapsLockToggle) {
    // On already: the text's own CapsLock step turns it off, the group on again.
    kb.toggled[20] = true;
    EXPECT_EQ(Send("{CAPSLOCK on}"), (Stream{D(20), S(1), U(20), S(5), D(20), S(1), U(20), S(5)}));
    EXPECT_TRUE(kb.toggled[20]);
    kb.toggled[20] = false;
    keys.restoreCapsLock = false;
    EXPECT_EQ(Send("{CAPSLOCK on}"), (Stream{D(20), S(1), U(20), S(5)}));
    EXPECT_TRUE(kb.toggled[20]);
    EXPECT_EQ(Send("{CAPSLOCK on}"), Stream{});  // already on
    EXPECT_EQ(Send("{CAPSLOCK off}"), (Stream{D(20), S(1), U(20), S(5)}));
}

TEST_F(Keys, ATextThatSwitchesCapsLockLeavesItAsItFoundIt) {
    kb.toggled[20] = false;
    EXPECT_EQ(Send("{CAPSLOCK on}"), (Stream{D(20), S(1), U(20), S(5), D(20), S(1), U(20), S(5)}));
    EXPECT_FALSE(kb.toggled[20]);
}

TEST_F(Keys, CapsLockIsOffWhileTyping) {
    kb.toggled[20] = true;
    const Stream caps = {D(20), S(1), U(20), S(5)};
    EXPECT_EQ(Send("t"), caps + Key('T') + caps);
    EXPECT_TRUE(kb.toggled[20]);
}

TEST_F(Keys, HeldCtrlIsNotPressedAgain) {
    EXPECT_EQ(Send("{ctrldown}a{ctrlup}"), (Stream{D(17)} + Key('A') + Stream{U(17)}));
    EXPECT_EQ(keys.modifierState, 0u);
}

TEST_F(Keys, HeldModifiersOutliveTheText) {
    Send("{altdown}");
    EXPECT_EQ(keys.modifierState, modbit::kAltHeld);
    EXPECT_EQ(Send("{altdown}"), Stream{});
    EXPECT_EQ(Send("{ALT}"), Stream{});  // Alt is held: nothing
    EXPECT_EQ(Send("{altup}"), Stream{U(18)});
    EXPECT_EQ(Send("{altup}"), Stream{});
}

TEST_F(Keys, AltCodes) {
    EXPECT_EQ(Send("{ASC 065}"), AltCode("065"));
    Send("{altdown}");
    EXPECT_EQ(Send("{ASC 12}"), (Stream{D(97), S(1), U(97), S(5), D(98), S(1), U(98), S(5)}));
}

TEST_F(Keys, UnknownNameDown) {
    EXPECT_EQ(Send("{zz down}"), Stream{D('Z')});
    EXPECT_EQ(Send("{zz up}"), Stream{U('Z')});
}

TEST_F(Keys, NumpadEnterIsExtendedAndAltIsATap) {
    EXPECT_EQ(Send("{NUMPADENTER}"), (Stream{D(13, true), S(1), U(13, true), S(5)}));
    EXPECT_EQ(Send("{numpadenter down}"), Stream{D(13, true)});
    EXPECT_EQ(Send("{ALT}"), (Stream{D(18), S(1), U(18), S(5)}));
    EXPECT_EQ(Send("{INSERT}"), Key(45, true));
    EXPECT_EQ(Send("{F5 down}{f5 up}"), (Stream{D(116), U(116)}));
}

TEST_F(Keys, APendingPrefixAtTheEndAppliesToTheNextText) {
    EXPECT_EQ(Send("^"), Stream{});
    EXPECT_EQ(keys.modifierState, modbit::kPendingCtrl);
    EXPECT_EQ(Send("{TAB}"), (Stream{D(17), S(1), D(9), S(1), U(9), S(5), U(17), S(5)}));
    EXPECT_EQ(keys.modifierState, 0u);
}

TEST_F(Keys, AHeldCtrlIsLiftedBeforeTheApplicationKey) {
    kb.held.insert(17);
    EXPECT_EQ(Send("{APPSKEY}"), (Stream{U(17), S(5)} + Key(93, true)));
}

TEST_F(Keys, UsLayoutTypesEveryAccentByAltCode) {
    EXPECT_EQ(keys.DeadKeyChars[2], ' ');
    EXPECT_EQ(Send("\xE9"), AltCode("0233"));  // é
    EXPECT_EQ(Send("\xC1"), AltCode("0193"));  // Á: no dead keys on 09
    EXPECT_EQ(Send("\xA7"), AltCode("021"));   // §
    EXPECT_EQ(Send("\xB6"), AltCode("020"));   // ¶
}

TEST_F(Keys, GermanLayoutUsesItsDeadKeysButNotTilde) {
    Use("00000407");
    EXPECT_EQ(keys.DeadKeyChars[2], '\xB4');
    EXPECT_EQ(keys.DeadKeyChars[3], '^');
    EXPECT_EQ(keys.DeadKeyChars[4], ' ');
    EXPECT_EQ(keys.DeadKeyChars[5], ' ');  // no key for the diaeresis
    EXPECT_EQ(Send("\xE9"), AltCode("0233"));
    // Á: the acute dead key, then Shift+A.
    const Stream shiftA = {D(16), S(1), D('A'), S(1), U('A'), S(5), U(16), S(5)};
    EXPECT_EQ(Send("\xC1"), Key(0xDD) + shiftA);
    EXPECT_EQ(Send("\xC3"), AltCode("0195"));  // Ã
    EXPECT_EQ(Send("\xA7"), (Stream{D(16), S(1), D(0x33), S(1), U(0x33), S(5), U(16), S(5)}));  // § has a key
}

TEST_F(Keys, CharactersBelow128WithoutAKeyUseAnAltCode) {
    EXPECT_EQ(Send("\x01"), AltCode("01"));
}

TEST(ExtendedKeys, TheListedCodes) {
    for (unsigned vk : {33u, 40u, 46u, 91u, 92u, 93u, 95u, 111u, 163u, 165u, 166u, 183u}) EXPECT_TRUE(IsExtendedKey(vk)) << vk;
    for (unsigned vk : {13u, 32u, 41u, 45u, 94u, 112u, 162u, 164u, 184u}) EXPECT_FALSE(IsExtendedKey(vk)) << vk;
}

}  // namespace
