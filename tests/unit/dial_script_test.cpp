// The dial script's exact bytes, the port names cmd understands, and the refusal rule.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialing/dial_script.h"

using namespace zelmora;

namespace {

struct ScriptCase {
    const char *name;
    std::string port;
    std::optional<std::string> phone; // none: the hang-up script
    std::string script;
};

void PrintTo(const ScriptCase &c, std::ostream *os) { *os << std::string(c.name); }

class DialScriptTest : public testing::TestWithParam<ScriptCase> {};

TEST_P(DialScriptTest, ComposesExactBytes) {
    const ScriptCase &c = GetParam();
    auto script = c.phone ? ComposeDialScript(c.port, *c.phone) : ComposeHangUpScript(c.port);
    ASSERT_TRUE(script.has_value());
    EXPECT_EQ(*script, c.script);
    EXPECT_TRUE(IsOwnScript(*script)); // a leftover that the next dial may replace
}

TEST(DialScript, AUsersOwnTempBatIsNotTakenForOne) {
    for (const char *text :
         {"", "@echo off\r\nmake all\r\n", "echo ath>COM3\ndel *.*", "echo ath>COM3 x",
          "echo at^&d0>COM3\necho atd 1;>COM4", "echo at^&d0>COM3\necho atd 1&calc;>COM3",
          "echo at^&d0>COM3\r\necho atd 1;>COM3", "echo at^&d0>COM3\necho atd 1;>COM3\n",
          "echo at^&d0>COM3", "echo at^&d0>COM3\necho atd"})
        EXPECT_FALSE(IsOwnScript(text)) << testing::PrintToString(std::string(text));
    EXPECT_TRUE(IsOwnScript("echo at>COM3\necho atd 1;>COM3")); // an older version's
}

INSTANTIATE_TEST_SUITE_P(
    Dialable, DialScriptTest,
    testing::Values(
        ScriptCase{"Example", "COM3", "123", "echo at^&d0>COM3\necho atd 123;>COM3"},
        ScriptCase{"EmptyPhone", "COM3", "", "echo at^&d0>COM3\necho atd ;>COM3"},
        ScriptCase{"Punctuation", "COM1", "+1 (555) 010-99,*#;!@WPT.",
                   "echo at^&d0>COM1\necho atd +1 (555) 010-99,*#;!@WPT.;>COM1"},
        ScriptCase{"HighBytes", "COM2", "12\xe9\xff",
                   "echo at^&d0>COM2\necho atd 12\xe9\xff;>COM2"},
        ScriptCase{"Tab", "COM3", "1\t2", "echo at^&d0>COM3\necho atd 1\t2;>COM3"},
        ScriptCase{"Com9StaysADevice", "COM9", "1", "echo at^&d0>COM9\necho atd 1;>COM9"},
        ScriptCase{"Com12", "COM12", "1", "echo at^&d0>\\\\.\\COM12\necho atd 1;>\\\\.\\COM12"},
        ScriptCase{"Com12LowerCase", "com12", "1",
                   "echo at^&d0>\\\\.\\com12\necho atd 1;>\\\\.\\com12"},
        ScriptCase{"Com256", "COM256", "1", "echo at^&d0>\\\\.\\COM256\necho atd 1;>\\\\.\\COM256"},
        ScriptCase{"NotAComNumber", "COM1A", "1",
                   "echo at^&d0>\\\\.\\COM1A\necho atd 1;>\\\\.\\COM1A"},
        ScriptCase{"VirtualPairPort", "CNCA0", "1",
                   "echo at^&d0>\\\\.\\CNCA0\necho atd 1;>\\\\.\\CNCA0"},
        ScriptCase{"Com0", "com0", "1", "echo at^&d0>\\\\.\\com0\necho atd 1;>\\\\.\\com0"},
        ScriptCase{"Com9AnyCase", "cOm9", "1", "echo at^&d0>cOm9\necho atd 1;>cOm9"},
        ScriptCase{"DevicePathAsGiven", "\\\\.\\COM4", "1",
                   "echo at^&d0>\\\\.\\COM4\necho atd 1;>\\\\.\\COM4"},
        ScriptCase{"HangUp", "COM3", std::nullopt, "echo ath>COM3"},
        ScriptCase{"HangUpCom12", "COM12", std::nullopt, "echo ath>\\\\.\\COM12"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DialScript, ExampleIs35Bytes) { EXPECT_EQ(ComposeDialScript("COM3", "123")->size(), 35u); }

TEST(DialScript, TakesLongPortsAndPhonesWhole) {
    // The callers deliver up to 259 bytes each; nothing is cut.
    const std::string port = "\\\\.\\" + std::string(255, 'P');
    const std::string phone(259, '5');
    auto script = ComposeDialScript(port, phone);
    ASSERT_TRUE(script.has_value());
    EXPECT_EQ(script->size(), 24 + 2 * port.size() + phone.size());
    EXPECT_EQ(*script, "echo at^&d0>" + port + "\necho atd " + phone + ";>" + port);
}

TEST(DialScript, RefusesEveryByteCmdWouldInterpret) {
    // Each byte alone, in the number and in the port, then whole injections.
    std::vector<std::string> refused = {
        "123&calc",      "123|x",        "123>file", "123%PATH%",
        "1\necho pwned", "1&echo>pwned", "\"123\"",  "5550123\rXmkdir PWNED",
        "123\r"};
    for (char c : std::string("&|<>^%\"\x7f"))
        refused.push_back(std::string("12") + c + "3");
    for (int b = 0; b < 0x20; ++b)
        if (b != '\t')
            refused.push_back(std::string("12") + static_cast<char>(b) + "3");
    for (const std::string &text : refused) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_FALSE(ComposeDialScript("COM3", text).has_value());
        EXPECT_FALSE(ComposeDialScript("COM" + text, "123").has_value());
        EXPECT_FALSE(ComposeHangUpScript("COM" + text).has_value());
    }
    // A blank ends the redirection, and the rest of the port would be echoed to the modem; a
    // number keeps its blanks.
    for (const std::string port : {"COM5 x", "COM5\tx", " COM5"}) {
        EXPECT_FALSE(ComposeDialScript(port, "1").has_value());
        EXPECT_FALSE(ComposeHangUpScript(port).has_value());
    }
    EXPECT_TRUE(ComposeDialScript("COM5", "1 2\t3").has_value());
}

} // namespace
